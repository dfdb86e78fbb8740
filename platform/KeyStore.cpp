#include "platform/KeyStore.h"
#include "platform/FileUtil.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>


namespace lingrove::platform {

namespace {

// Key paths are stored without leading, trailing or doubled separators.
QString normalizeKey(const QString& key)
{
    const QStringList parts = key.split(u'\\', Qt::SkipEmptyParts);
    return parts.join(u'\\');
}

QString parentOf(const QString& normalized)
{
    const qsizetype cut = normalized.lastIndexOf(u'\\');
    return cut < 0 ? QString() : normalized.left(cut);
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
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

void KeyStore::load() const
{
    keys_.clear();
    unreadable_ = false;
    QByteArray bytes;
    const detail::ReadResult read = detail::readWholeFile(file_, bytes);
    if (read != detail::ReadResult::Read) {
        unreadable_ = read == detail::ReadResult::Unreadable;
        return;
    }
    auto decode = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decode(bytes);

    auto* self = const_cast<KeyStore*>(this);
    Key* current = nullptr;   // points into keys_ until the next key is added
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            const qsizetype close = line.lastIndexOf(u']');
            current = nullptr;
            if (close < 1)
                continue;   // damaged header: its values have no key to go to
            const QString path = normalizeKey(unescape(line.mid(1, close - 1).toString()));
            if (path.isEmpty())
                continue;
            current = &keys_[self->ensureKey(path)];
            continue;
        }
        if (!current)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || line.size() < eq + 3 || line[eq + 2] != u':')
            continue;
        Value v;
        v.name = unescape(line.left(eq).toString());
        const QChar type = line[eq + 1];
        const QStringView data = line.mid(eq + 3);
        if (type == u's') {
            v.text = unescape(data.toString());
        } else if (type == u'i') {
            bool ok = false;
            const qint64 n = data.toLongLong(&ok);
            if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
                continue;
            v.isInteger = true;
            v.number = qint32(n);
            v.text = QString::number(v.number);
        } else {
            continue;
        }
        auto it = std::find_if(current->values.begin(), current->values.end(),
                               [&](const Value& o) { return sameName(o.name, v.name); });
        if (it != current->values.end()) {
            v.name = it->name;
            *it = v;   // a later line for the same name wins
        } else {
            current->values.append(v);
        }
    }
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
    return writeFileAtomically(file_, out);
}

KeyStore::Key* KeyStore::findKey(const QString& key)
{
    const QString path = normalizeKey(key);
    for (Key& k : keys_)
        if (sameName(k.path, path))
            return &k;
    return nullptr;
}

const KeyStore::Key* KeyStore::findKey(const QString& key) const
{
    return const_cast<KeyStore*>(this)->findKey(key);
}

qsizetype KeyStore::ensureKey(const QString& normalized)
{
    for (qsizetype i = 0; i < keys_.size(); ++i)
        if (sameName(keys_[i].path, normalized))
            return i;
    const QString parent = parentOf(normalized);
    QString path = normalized;
    if (!parent.isEmpty()) {
        // The leading parts keep the spelling the parent key has.
        const qsizetype p = ensureKey(parent);
        path = keys_[p].path + normalized.mid(parent.size());
    }
    keys_.append(Key{path, {}});
    return keys_.size() - 1;
}

bool KeyStore::keyExists(const QString& key) const
{
    load();
    return !normalizeKey(key).isEmpty() && findKey(key) != nullptr;
}

bool KeyStore::createKey(const QString& key)
{
    const QString path = normalizeKey(key);
    if (path.isEmpty())
        return false;
    load();
    if (findKey(path))
        return true;
    const QList<Key> before = keys_;
    ensureKey(path);
    if (!save()) {
        keys_ = before;
        return false;
    }
    return true;
}

bool KeyStore::deleteKey(const QString& key)
{
    const QString path = normalizeKey(key);
    if (path.isEmpty())
        return false;
    load();
    const Key* k = findKey(path);
    if (!k)
        return false;
    const QString prefix = k->path + u'\\';
    const QList<Key> before = keys_;
    keys_.removeIf([&](const Key& o) {
        return sameName(o.path, path) || o.path.startsWith(prefix, Qt::CaseInsensitive);
    });
    if (!save()) {
        keys_ = before;
        throw KeyStoreError(QStringLiteral("Failed to delete key %1").arg(key).toStdString());
    }
    return true;
}

QStringList KeyStore::subKeys(const QString& key) const
{
    load();
    const QString path = normalizeKey(key);
    const QString prefix = path.isEmpty() ? QString() : path + u'\\';
    QStringList names;
    for (const Key& k : std::as_const(keys_)) {
        if (k.path.size() <= prefix.size() || !k.path.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        const QString rest = k.path.mid(prefix.size());
        if (!rest.contains(u'\\'))
            names.append(rest);
    }
    return names;
}

QStringList KeyStore::valueNames(const QString& key) const
{
    load();
    QStringList names;
    if (const Key* k = findKey(key))
        for (const Value& v : k->values)
            names.append(v.name);
    return names;
}

bool KeyStore::valueExists(const QString& key, const QString& name) const
{
    load();
    const Key* k = findKey(key);
    if (!k)
        return false;
    return std::any_of(k->values.begin(), k->values.end(),
                       [&](const Value& v) { return sameName(v.name, name); });
}

QString KeyStore::readString(const QString& key, const QString& name) const
{
    load();
    if (const Key* k = findKey(key))
        for (const Value& v : k->values)
            if (sameName(v.name, name))
                return v.text;
    return {};
}

qint32 KeyStore::readInteger(const QString& key, const QString& name) const
{
    load();
    if (const Key* k = findKey(key))
        for (const Value& v : k->values)
            if (sameName(v.name, name) && v.isInteger)
                return v.number;
    throw KeyStoreError(QStringLiteral("Invalid data type for '%1'").arg(name).toStdString());
}

void KeyStore::setValue(const QString& key, Value v)
{
    const QString path = normalizeKey(key);
    const auto fail = [&] {
        return KeyStoreError(QStringLiteral("Failed to set data for '%1'").arg(v.name).toStdString());
    };
    if (path.isEmpty())
        throw fail();
    load();
    const QList<Key> before = keys_;
    Key& k = keys_[ensureKey(path)];
    auto it = std::find_if(k.values.begin(), k.values.end(),
                           [&](const Value& o) { return sameName(o.name, v.name); });
    if (it != k.values.end()) {
        v.name = it->name;   // the first spelling of a name stays
        *it = v;
    } else {
        k.values.append(v);
    }
    if (!save()) {
        keys_ = before;
        throw fail();
    }
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
