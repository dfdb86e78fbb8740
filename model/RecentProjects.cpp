#include "model/RecentProjects.h"

#include "model/TextCodec.h"
#include "platform/FileUtil.h"
#include "platform/Paths.h"

namespace lingrove::model {

QString RecentProjects::defaultFile()
{
    return platform::joinPath(platform::programFolder(), QStringLiteral("mru.dat"));
}

void RecentProjects::add(const QString& path)
{
    if (entries_.contains(path, Qt::CaseSensitive))
        return;
    if (entries_.size() < kCapacity) {
        entries_.append(path);
        return;
    }
    entries_.removeLast();
    entries_.prepend(path);
}

void RecentProjects::load(const QString& file)
{
    QByteArray bytes;
    if (platform::readFile(file, bytes) != platform::ReadResult::Read)
        return;
    QStringList lines = decodeText(bytes).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& l : lines) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    }
    entries_ = lines;
}

bool RecentProjects::save(const QString& file, QString* why) const
{
    const QString text = entries_.isEmpty() ? QString() : entries_.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return platform::writeFileAtomically(file, encodeText(text), why);
}

} // namespace lingrove::model
