#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lingrove::platform {

namespace {

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

qsizetype lastSplitPoint(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (isSeparator(path[i]) || path[i] == u':')
            return i;
    return -1;
}

} // namespace

SplitPath splitToolPath(const QString& path)
{
    const qsizetype cut = lastSplitPoint(path);
    return SplitPath{path.left(cut + 1), path.mid(cut + 1)};
}

QChar separator()
{
    return u'/';
}

QString joinPath(const QString& folder, const QString& name)
{
    // A stored folder may end in its separator already.
    return folder.endsWith(separator()) ? folder + name : folder + separator() + name;
}

QString toNative(const QString& path)
{
    QString out = path;
    out.replace(u'\\', separator());
    return out;
}

QString folderOf(const QString& path)
{
    qsizetype cut = -1;
    for (qsizetype i = path.size() - 1; i >= 0 && cut < 0; --i)
        if (isSeparator(path[i]))
            cut = i;
    if (cut < 0) {
        // "C:name" has the folder "C:"
        const qsizetype colon = path.lastIndexOf(u':');
        return colon < 0 ? QString() : path.left(colon + 1);
    }
    // A root keeps its separator: "/" and "C:\".
    if (cut == 0 || (cut == 2 && path[1] == u':'))
        return path.left(cut + 1);
    return path.left(cut);
}

QString fileNameOf(const QString& path)
{
    return path.mid(lastSplitPoint(path) + 1);
}

QString findCaseInsensitive(const QString& base, const QString& relName)
{
    const QString rel = QString(relName).replace(u'\\', u'/');
    const QString root = rel.startsWith(u'/') ? QStringLiteral("/") : base;
    const auto join = [](const QString& folder, const QString& name) {
        if (folder.isEmpty())
            return name;
        return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
    };
    QString real = root;                                       // what the caller gets
    QString onDisk = root.isEmpty() ? QStringLiteral(".") : root;   // what is looked at
    if (!QFileInfo::exists(onDisk))
        return {};
    for (const QString& part : rel.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".")
            continue;
        QString name = part;
        if (part != u".." && !QFileInfo::exists(join(onDisk, part))) {
            // An exact match was preferred above; else the first in name order.
            name.clear();
            const QStringList entries = QDir(onDisk).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            for (const QString& e : entries) {
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    name = e;
                    break;
                }
            }
            if (name.isEmpty())
                return {};
        }
        onDisk = join(onDisk, name);
        real = join(real, name);
    }
    if (!QFileInfo::exists(onDisk))
        return {};
    return real.isEmpty() ? onDisk : real;
}

QString programFolder()
{
    const QByteArray env = qgetenv("LINGROVE_HOME");
    QString folder = env.isEmpty() ? QCoreApplication::applicationDirPath() : QString::fromLocal8Bit(env);
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

} // namespace lingrove::platform
