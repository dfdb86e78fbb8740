#include "model/CompilerConfig.h"

#include "platform/FileUtil.h"

#include <QDir>
#include <QFileInfo>

namespace lingrove::model::compiler_config {

QString optionValue(const QString& line)
{
    // The option letters, then the value, usually in double quotes: -u"C:\lib".
    QString value = line.mid(2).trimmed();
    if (value.startsWith(QLatin1Char('"')))
        value.remove(0, 1);
    if (value.endsWith(QLatin1Char('"')))
        value.chop(1);
    return value;
}

std::optional<QStringList> read(const QString& path)
{
    QByteArray bytes;
    if (platform::readFile(path, bytes) != platform::ReadResult::Read)
        return std::nullopt;
    // 8-bit text: one character per byte.
    QStringList lines = QString::fromLatin1(bytes).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();   // the end of the last line, not a line of its own
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

CompilerOptions options(const QStringList& lines)
{
    CompilerOptions o;
    for (const QString& line : lines) {
        const QString option = line.left(2).toUpper();
        if (option == QLatin1String("-A"))
            o.unitAliases = optionValue(line);
        else if (option == QLatin1String("-U"))
            o.searchPath = optionValue(line);
    }
    return o;
}

bool write(const QString& path, const CompilerOptions& options, QString* why)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        if (why)
            *why = QStringLiteral("The folder %1 does not exist.").arg(info.absolutePath());
        return false;
    }
    const QString text = QStringLiteral("-a\"") + options.unitAliases + QStringLiteral("\"\r\n-u\"")
                         + options.searchPath + QStringLiteral("\"\r\n");
    return platform::writeFileAtomically(path, text.toLatin1(), why);
}

} // namespace lingrove::model::compiler_config
