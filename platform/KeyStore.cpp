#include "platform/KeyStore.h"
#include "platform/FileUtil.h"

#include "core/text/Encoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>


namespace lingrove::platform {

namespace {

// Key paths are stored without leading, trailing or doubled separators.
QString normalizeKey(const QString& key)
{
    const QStringList parts = key.split(u'\\', Qt::SkipEmptyParts);
    return parts.join(u'\\');
}

// Key paths and value names are looked up by their case-folded form.
QString folded(const QString& name)
{
    return name.toCaseFolded();
}

// A line as text: UTF-8 when it is well-formed UTF-8, else Windows-1252.
QString decodeLine(const char* data, qsizetype size)
{
    const std::string_view bytes(data, std::size_t(size));
    if (text::isValidUtf8(bytes))
        return QString::fromUtf8(data, size);
    QString out;
    out.reserve(size);
    for (const char c : bytes) {
        const char32_t cp = text::fromWindows1252(static_cast<unsigned char>(c));
        out += QChar(char16_t(cp));
    }
    return out;
}

enum class Field { KeyPath, Name, Value };

bool mustEscape(QChar c, Field field)
{
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x7f || u == u'%')
        return true;
    if (field == Field::Value)
        return false;
    return u == u'=' || u == u'[' || u == u']' || u == u';';
}

QString escape(const QString& text, Field field)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (c.isSurrogate()) {
            out += QStringLiteral("%u") + QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0');
        } else if (mustEscape(c, field)) {
            out += u'%' + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        } else {
            out += c;
        }
    }
    return out;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Reads n hex digits at text[pos]; -1 when they are not all there.
int hexAt(const QString& text, qsizetype pos, int n)
{
    if (pos + n > text.size())
        return -1;
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const int d = hexDigit(text[pos + i]);
        if (d < 0)
            return -1;
        v = v * 16 + d;
    }
    return v;
}

// A "%" not followed by a well-formed escape stays as it is.
QString unescape(const QString& text)
{
    if (!text.contains(u'%'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%') {
            if (i + 1 < text.size() && text[i + 1] == u'u') {
                const int v = hexAt(text, i + 2, 4);
                if (v >= 0) {
                    out += QChar(char16_t(v));
                    i += 5;
                    continue;
                }
            } else {
                const int v = hexAt(text, i + 1, 2);
                if (v >= 0) {
                    out += QChar(char16_t(v));
                    i += 2;
                    continue;
                }
            }
        }
        out += text[i];
    }
    return out;
}

} // namespace

QString KeyStore::defaultFile()
{
    const QByteArray env = qgetenv("LINGROVE_KEYSTORE");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/lingrove/registry.txt");
}

KeyStore::KeyStore(QString file) : file_(std::move(file))
{
    load();
}

void KeyStore::reload()
{
    load();
}

KeyStore::Stamp KeyStore::currentStamp() const
{
    struct stat st {};
    if (::stat(QFile::encodeName(file_).constData(), &st) != 0)
        return {};
    return Stamp{qint64(st.st_dev), qint64(st.st_ino), qint64(st.st_size),
                 qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                 qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

void KeyStore::refresh() const
{
    const Stamp now = currentStamp();
    if (now.inode < 0 || now != stamp_)
        load();
}

void KeyStore::load() const
{
    keys_.clear();
    keyIndex_.clear();
    unreadable_ = false;
    damage_ = {};
    stamp_ = currentStamp();
    QByteArray bytes;
    const ReadResult read = readFile(file_, bytes);
    if (read != ReadResult::Read) {
        unreadable_ = read == ReadResult::Failed;
        return;
    }
    parse(bytes);
    if (damage_.lines > 0)
        keepDamagedCopy(bytes);
}

void KeyStore::parse(const QByteArray& bytes) const
{
    auto damaged = [this](int line, const QString& reason) {
        if (damage_.lines++ == 0) {
            damage_.line = line;
            damage_.reason = reason;
        }
    };
    Key* current = nullptr;   // points into keys_ until the next key is added
    bool skipping = false;    // after a damaged heading: its values have no key to go to
    int lineNumber = 0;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        ++lineNumber;
        qsizetype length = end - start;
        if (length > 0 && bytes[end - 1] == '\r')
            --length;
        const qsizetype at = start;
        start = next;
        if (length > kMaxLineBytes) {
            damaged(lineNumber, QStringLiteral("a line longer than %1 bytes").arg(kMaxLineBytes));
            continue;
        }
        const QString text = decodeLine(bytes.constData() + at, length);
        const QStringView line(text);
        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            current = nullptr;
            skipping = true;
            const qsizetype close = line.lastIndexOf(u']');
            if (close < 1) {
                damaged(lineNumber, QStringLiteral("a key heading without its closing \"]\""));
                continue;
            }
            const QString path = normalizeKey(unescape(line.mid(1, close - 1).toString()));
            if (path.isEmpty()) {
                damaged(lineNumber, QStringLiteral("a key heading without a name"));
                continue;
            }
            if (path.count(u'\\') >= kMaxKeyDepth) {
                damaged(lineNumber, QStringLiteral("a key of more than %1 levels").arg(kMaxKeyDepth));
                continue;
            }
            current = &keys_[ensureKey(path)];
            skipping = false;
            continue;
        }
        if (!current) {
            if (!skipping)
                damaged(lineNumber, QStringLiteral("a value before the first key"));
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || line.size() < eq + 3 || line[eq + 2] != u':') {
            damaged(lineNumber, QStringLiteral("neither a key, a value nor a comment"));
            continue;
        }
        Value v;
        v.name = unescape(line.left(eq).toString());
        const QChar type = line[eq + 1];
        const QStringView data = line.mid(eq + 3);
        if (type == u's') {
            v.text = unescape(data.toString());
        } else if (type == u'i') {
            bool ok = false;
            const qint64 n = data.toLongLong(&ok);
            if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max()) {
                damaged(lineNumber, QStringLiteral("an integer value that is not a 32-bit number"));
                continue;
            }
            v.isInteger = true;
            v.number = qint32(n);
            v.text = QString::number(v.number);
        } else {
            damaged(lineNumber, QStringLiteral("a value of an unknown type"));
            continue;
        }
        putValue(*current, std::move(v));   // a later line for the same name wins
    }
}

// The file as it was goes to "<file>.damaged" (or the first free
// "<file>.damaged.N" when an older, different copy is there), before a later
// change writes the file without the lines that could not be read.
void KeyStore::keepDamagedCopy(const QByteArray& bytes) const
{
    for (int n = 1; n < 100; ++n) {
        const QString copy = file_ + QStringLiteral(".damaged") + (n == 1 ? QString() : QStringLiteral(".%1").arg(n));
        QByteArray existing;
        const ReadResult read = readFile(copy, existing);
        if (read == ReadResult::Read && existing == bytes) {
            damage_.keptAs = copy;
            return;
        }
        if (read == ReadResult::Missing) {
            if (writeFileAtomically(copy, bytes))
                damage_.keptAs = copy;
            break;
        }
    }
    if (damage_.keptAs.isEmpty())
        unreadable_ = true;   // what could not be kept is not overwritten either
}

void KeyStore::rebuildIndex() const
{
    keyIndex_.clear();
    keyIndex_.reserve(keys_.size());
    for (qsizetype i = 0; i < keys_.size(); ++i)
        keyIndex_.insert(folded(keys_[i].path), i);
}

bool KeyStore::save()
{
    if (unreadable_)
        return false;   // writing would lose what could not be read
    QByteArray out = "; Lingrove key store\n";
    for (const Key& k : std::as_const(keys_)) {
        out += '[' + escape(k.path, Field::KeyPath).toUtf8() + "]\n";
        for (const Value& v : k.values) {
            out += escape(v.name, Field::Name).toUtf8();
            if (v.isInteger)
                out += "=i:" + QByteArray::number(v.number);
            else
                out += "=s:" + escape(v.text, Field::Value).toUtf8();
            out += '\n';
        }
    }
    const QFileInfo info(file_);
    QDir().mkpath(info.absolutePath());
    if (!writeFileAtomically(file_, out)) {
        load();   // the store holds what the file still holds
        return false;
    }
    stamp_ = currentStamp();
    return true;
}

KeyStore::Key* KeyStore::findKey(const QString& key)
{
    const auto it = keyIndex_.constFind(folded(normalizeKey(key)));
    return it == keyIndex_.cend() ? nullptr : &keys_[*it];
}

const KeyStore::Key* KeyStore::findKey(const QString& key) const
{
    return const_cast<KeyStore*>(this)->findKey(key);
}

qsizetype KeyStore::ensureKey(const QString& normalized) const
{
    if (const auto it = keyIndex_.constFind(folded(normalized)); it != keyIndex_.cend())
        return *it;
    // From the root down: each missing level is added below its parent, and
    // the leading parts keep the spelling the parent key has.
    qsizetype parent = -1;
    for (qsizetype from = 0;;) {
        qsizetype cut = normalized.indexOf(u'\\', from);
        if (cut < 0)
            cut = normalized.size();
        const QString foldedPrefix = folded(normalized.left(cut));
        auto it = keyIndex_.constFind(foldedPrefix);
        if (it == keyIndex_.cend()) {
            const QString part = normalized.mid(from, cut - from);
            keys_.append(Key{parent < 0 ? part : keys_[parent].path + u'\\' + part, {}, {}});
            it = keyIndex_.insert(foldedPrefix, keys_.size() - 1);
        }
        parent = *it;
        if (cut == normalized.size())
            return parent;
        from = cut + 1;
    }
}

void KeyStore::putValue(Key& key, Value v)
{
    const QString name = folded(v.name);
    if (const auto it = key.valueIndex.constFind(name); it != key.valueIndex.cend()) {
        Value& old = key.values[*it];
        v.name = old.name;   // the first spelling of a name stays
        old = std::move(v);
        return;
    }
    key.values.append(std::move(v));
    key.valueIndex.insert(name, key.values.size() - 1);
}

bool KeyStore::keyExists(const QString& key) const
{
    refresh();
    return !normalizeKey(key).isEmpty() && findKey(key) != nullptr;
}

bool KeyStore::createKey(const QString& key)
{
    const QString path = normalizeKey(key);
    if (path.isEmpty() || path.count(u'\\') >= kMaxKeyDepth)
        return false;
    refresh();
    if (findKey(path))
        return true;
    ensureKey(path);
    return save();
}

bool KeyStore::deleteKey(const QString& key)
{
    const QString path = normalizeKey(key);
    if (path.isEmpty())
        return false;
    refresh();
    const Key* k = findKey(path);
    if (!k)
        return false;
    const QString prefix = folded(k->path) + u'\\';
    const QString self = folded(k->path);
    keys_.removeIf([&](const Key& o) {
        const QString p = folded(o.path);
        return p == self || p.startsWith(prefix);
    });
    rebuildIndex();
    if (!save())
        throw KeyStoreError(QStringLiteral("Failed to delete key %1").arg(key).toStdString());
    return true;
}

QStringList KeyStore::subKeys(const QString& key) const
{
    refresh();
    const QString path = normalizeKey(key);
    const QString prefix = path.isEmpty() ? QString() : folded(path) + u'\\';
    QStringList names;
    for (const Key& k : std::as_const(keys_)) {
        if (k.path.size() <= prefix.size() || !folded(k.path).startsWith(prefix))
            continue;
        const QString rest = k.path.mid(prefix.size());
        if (!rest.contains(u'\\'))
            names.append(rest);
    }
    return names;
}

QStringList KeyStore::valueNames(const QString& key) const
{
    refresh();
    QStringList names;
    if (const Key* k = findKey(key))
        for (const Value& v : k->values)
            names.append(v.name);
    return names;
}

bool KeyStore::valueExists(const QString& key, const QString& name) const
{
    refresh();
    const Key* k = findKey(key);
    return k && k->valueIndex.contains(folded(name));
}

QString KeyStore::readString(const QString& key, const QString& name) const
{
    refresh();
    if (const Key* k = findKey(key))
        if (const auto it = k->valueIndex.constFind(folded(name)); it != k->valueIndex.cend())
            return k->values[*it].text;
    return {};
}

qint32 KeyStore::readInteger(const QString& key, const QString& name) const
{
    refresh();
    if (const Key* k = findKey(key))
        if (const auto it = k->valueIndex.constFind(folded(name)); it != k->valueIndex.cend())
            if (k->values[*it].isInteger)
                return k->values[*it].number;
    throw KeyStoreError(QStringLiteral("Invalid data type for '%1'").arg(name).toStdString());
}

void KeyStore::setValue(const QString& key, Value v)
{
    const QString path = normalizeKey(key);
    const auto fail = [&] {
        return KeyStoreError(QStringLiteral("Failed to set data for '%1'").arg(v.name).toStdString());
    };
    if (path.isEmpty() || path.count(u'\\') >= kMaxKeyDepth)
        throw fail();
    refresh();
    putValue(keys_[ensureKey(path)], v);
    if (!save())
        throw fail();
}

void KeyStore::writeString(const QString& key, const QString& name, const QString& value)
{
    Value v;
    v.name = name;
    v.text = value;
    setValue(key, std::move(v));
}

void KeyStore::writeInteger(const QString& key, const QString& name, qint32 value)
{
    Value v;
    v.name = name;
    v.isInteger = true;
    v.number = value;
    v.text = QString::number(value);
    setValue(key, std::move(v));
}

} // namespace lingrove::platform
