#include "platform/IniFile.h"
#include "platform/FileUtil.h"

#include "core/text/Encoding.h"

#include <limits>
#include <optional>

namespace lingrove::platform {

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";
const QByteArray kCrLf = "\r\n";

QString decode(QByteArrayView bytes)
{
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    if (text::isValidUtf8(view))
        return QString::fromUtf8(bytes);
    QString out;
    out.reserve(bytes.size());
    for (const char c : view)
        out += QChar(text::fromWindows1252(static_cast<unsigned char>(c)));
    return out;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The line as the parser sees it: a byte-order mark before the first line is
// not part of it.
QByteArrayView body(const QByteArray& text, qsizetype index)
{
    QByteArrayView v(text);
    if (index == 0 && v.startsWith(kBom))
        v = v.sliced(kBom.size());
    return v;
}

std::optional<QString> sectionName(QByteArrayView line)
{
    const QByteArrayView t = line.trimmed();
    if (!t.startsWith('['))
        return std::nullopt;
    qsizetype close = t.indexOf(']');
    if (close < 0)
        close = t.size();
    return decode(t.sliced(1, close - 1).trimmed());
}

struct KeyLine {
    QString key;
    qsizetype eq;   // position of "=" in the line
};

std::optional<KeyLine> keyOf(QByteArrayView line)
{
    const QByteArrayView t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('['))
        return std::nullopt;
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return KeyLine{decode(line.first(eq).trimmed()), eq};
}

bool hasLineBreak(const QString& s)
{
    return s.contains(u'\r') || s.contains(u'\n');
}

// Decimal with an optional sign, or hexadecimal after "0x"/"0X" (up to 32 bits,
// the high bit giving a negative number, as colour values are stored).
std::optional<qint32> parseInteger(const QString& s)
{
    if (s.size() > 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) {
        bool ok = false;
        const QStringView digits = QStringView(s).mid(2);
        for (QChar c : digits)
            if (!c.isDigit() && !(c >= u'a' && c <= u'f') && !(c >= u'A' && c <= u'F'))
                return std::nullopt;
        const qulonglong v = digits.toULongLong(&ok, 16);
        if (!ok || v > 0xFFFFFFFFull)
            return std::nullopt;
        return qint32(quint32(v));
    }
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    if (i == s.size())
        return std::nullopt;
    for (qsizetype j = i; j < s.size(); ++j)
        if (s[j] < u'0' || s[j] > u'9')
            return std::nullopt;
    bool ok = false;
    const qlonglong v = s.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(v);
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path))
{
    load();
}

void IniFile::load() const
{
    lines_.clear();
    unreadable_ = false;
    QByteArray bytes;
    const ReadResult read = readFile(path_, bytes);
    if (read != ReadResult::Read) {
        unreadable_ = read == ReadResult::Failed;
        return;
    }
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype nl = bytes.indexOf('\n', start);
        if (nl < 0) {
            lines_.append(Line{bytes.mid(start), {}});
            break;
        }
        if (nl > start && bytes[nl - 1] == '\r')
            lines_.append(Line{bytes.mid(start, nl - 1 - start), kCrLf});
        else
            lines_.append(Line{bytes.mid(start, nl - start), "\n"});
        start = nl + 1;
    }
}

void IniFile::refresh() const
{
    if (!batch_)
        load();
}

void IniFile::prepareWrite()
{
    if (batch_)
        return;   // the batch read the file when it began
    load();
    if (unreadable_)
        throw IniError(QStringLiteral("Cannot read %1").arg(path_).toStdString());
}

QByteArray IniFile::encoded(const QString& text) const
{
    const bool utf8File = !lines_.isEmpty() && lines_.first().text.startsWith(kBom);
    if (!utf8File) {
        QByteArray bytes;
        bytes.reserve(text.size());
        bool fits = true;
        for (const char32_t c : text.toUcs4()) {
            const int b = text::toWindows1252(c);
            if (b < 0) {
                fits = false;
                break;
            }
            bytes += static_cast<char>(b);
        }
        if (fits)
            return bytes;
    }
    return text.toUtf8();
}

IniFile::Batch::Batch(IniFile& ini)
    : ini_(ini)
{
    ini_.load();
    if (ini_.unreadable_)
        throw IniError(QStringLiteral("Cannot read %1").arg(ini_.path_).toStdString());
    ini_.batch_ = true;
}

IniFile::Batch::~Batch()
{
    if (done_)
        return;
    ini_.batch_ = false;
    ini_.load();   // memory follows the file that stayed
}

void IniFile::Batch::commit()
{
    done_ = true;
    ini_.batch_ = false;
    ini_.save();
}

void IniFile::save()
{
    if (batch_)
        return;
    QString why;
    if (!writeFileAtomically(path_, text(), &why)) {
        load();   // memory follows the file that stayed
        throw IniError(why.toStdString());
    }
}

QByteArray IniFile::text() const
{
    QByteArray out;
    for (const Line& l : std::as_const(lines_))
        out += l.text + l.eol;
    return out;
}

bool IniFile::sectionExists(const QString& section) const
{
    refresh();
    const QString want = section.trimmed();
    for (qsizetype i = 0; i < lines_.size(); ++i)
        if (auto s = sectionName(body(lines_[i].text, i)); s && sameName(*s, want))
            return true;
    return false;
}

QStringList IniFile::sections() const
{
    refresh();
    QStringList names;
    for (qsizetype i = 0; i < lines_.size(); ++i)
        if (auto s = sectionName(body(lines_[i].text, i)); s && !names.contains(*s, Qt::CaseInsensitive))
            names.append(*s);
    return names;
}

QStringList IniFile::sectionKeys(const QString& section) const
{
    refresh();
    const QString want = section.trimmed();
    QStringList keys;
    bool inside = false;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QByteArrayView line = body(lines_[i].text, i);
        if (auto s = sectionName(line)) {
            inside = sameName(*s, want);
            continue;
        }
        if (!inside)
            continue;
        if (auto k = keyOf(line); k && !keys.contains(k->key, Qt::CaseInsensitive))
            keys.append(k->key);
    }
    return keys;
}

qsizetype IniFile::findKeyLine(const QString& section, const QString& key) const
{
    const QString wantSection = section.trimmed();
    const QString wantKey = key.trimmed();
    bool inside = false;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QByteArrayView line = body(lines_[i].text, i);
        if (auto s = sectionName(line)) {
            inside = sameName(*s, wantSection);
            continue;
        }
        if (!inside)
            continue;
        if (auto k = keyOf(line); k && sameName(k->key, wantKey))
            return i;
    }
    return -1;
}

bool IniFile::keyExists(const QString& section, const QString& key) const
{
    refresh();
    return findKeyLine(section, key) >= 0;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    refresh();
    const qsizetype i = findKeyLine(section, key);
    if (i < 0)
        return def;
    const QByteArrayView line = body(lines_[i].text, i);
    const qsizetype eq = line.indexOf('=');
    return decode(line.sliced(eq + 1).trimmed());
}

qint32 IniFile::readInteger(const QString& section, const QString& key, qint32 def) const
{
    refresh();
    if (findKeyLine(section, key) < 0)
        return def;
    return parseInteger(readString(section, key)).value_or(def);
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const QString sec = section.trimmed();
    const QString name = key.trimmed();
    if (sec.isEmpty() || hasLineBreak(sec) || sec.contains(u']'))
        throw IniError(QStringLiteral("Invalid section name \"%1\"").arg(section).toStdString());
    if (name.isEmpty() || hasLineBreak(name) || name.contains(u'=') || name.startsWith(u'[')
        || name.startsWith(u';'))
        throw IniError(QStringLiteral("Invalid key name \"%1\"").arg(key).toStdString());
    if (hasLineBreak(value))
        throw IniError(QStringLiteral("The value of %1 holds a line break").arg(key).toStdString());
    prepareWrite();

    const QByteArray bytes = encoded(value);
    const qsizetype at = findKeyLine(sec, name);
    if (at >= 0) {
        // Keep everything up to the value as it was: the key's spelling and the
        // blanks around "=".
        QByteArray& text = lines_[at].text;
        qsizetype start = text.indexOf('=') + 1;
        while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
            ++start;
        text = text.left(start) + bytes;
        save();
        return;
    }

    const QByteArray newLine = encoded(name) + '=' + bytes;
    qsizetype header = -1;
    for (qsizetype i = 0; i < lines_.size() && header < 0; ++i)
        if (auto s = sectionName(body(lines_[i].text, i)); s && sameName(*s, sec))
            header = i;
    if (header >= 0) {
        // After the section's last key, so that blank lines and comments before
        // the next section stay where they are.
        qsizetype insertAt = header + 1;
        for (qsizetype i = header + 1; i < lines_.size(); ++i) {
            const QByteArrayView line = body(lines_[i].text, i);
            if (sectionName(line))
                break;
            if (keyOf(line))
                insertAt = i + 1;
        }
        if (insertAt == lines_.size() && !lines_.isEmpty() && lines_.last().eol.isEmpty())
            lines_.last().eol = kCrLf;
        lines_.insert(insertAt, Line{newLine, kCrLf});
    } else {
        if (!lines_.isEmpty() && lines_.last().eol.isEmpty())
            lines_.last().eol = kCrLf;
        lines_.append(Line{'[' + encoded(sec) + ']', kCrLf});
        lines_.append(Line{newLine, kCrLf});
    }
    save();
}

void IniFile::writeInteger(const QString& section, const QString& key, qint32 value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::eraseSection(const QString& section)
{
    prepareWrite();
    const QString want = section.trimmed();
    QList<Line> kept;
    bool erasing = false;
    bool changed = false;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (auto s = sectionName(body(lines_[i].text, i)))
            erasing = sameName(*s, want);
        if (erasing) {
            changed = true;
            // A byte-order mark stays at the start of the file.
            if (i == 0 && lines_[i].text.startsWith(kBom))
                kept.append(Line{kBom, {}});
            continue;
        }
        kept.append(lines_[i]);
    }
    if (!changed)
        return;
    // A mark kept alone joins the line that now comes first.
    if (!kept.isEmpty() && kept.first().text == kBom && kept.first().eol.isEmpty() && kept.size() > 1) {
        kept[1].text.prepend(kBom);
        kept.removeFirst();
    }
    lines_ = kept;
    save();
}

} // namespace lingrove::platform
