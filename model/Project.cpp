#include "model/Project.h"
#include "model/DelphiInstallation.h"
#include "model/Settings.h"

#include "platform/Paths.h"

namespace lingrove::model {

QString TranslatedLiterals::key(const QString& page, int line, const QString& text)
{
    // The closing "|" keeps blanks at the end of the text.
    return page + QLatin1Char('|') + QString::number(line) + QLatin1Char('|') + text + QLatin1Char('|');
}

QStringList TranslatedLiterals::toLines() const
{
    QStringList lines(keys_.begin(), keys_.end());
    lines.sort();
    return lines;
}

TranslatedLiterals TranslatedLiterals::fromLines(const QStringList& lines)
{
    TranslatedLiterals all;
    for (const QString& line : lines) {
        const qsizetype pageEnd = line.indexOf(QLatin1Char('|'));
        const qsizetype lineEnd = pageEnd < 0 ? -1 : line.indexOf(QLatin1Char('|'), pageEnd + 1);
        if (lineEnd < 0 || !line.endsWith(QLatin1Char('|')) || lineEnd == line.size() - 1)
            continue;
        bool ok = false;
        const int number = line.mid(pageEnd + 1, lineEnd - pageEnd - 1).toInt(&ok);
        if (ok)
            all.add(line.left(pageEnd), number, line.mid(lineEnd + 1, line.size() - lineEnd - 2));
    }
    return all;
}

QString Project::projectFilePath() const
{
    return platform::joinPath(platform::toNative(folder), name + QStringLiteral(".lgv"));
}

QString Project::delphiProjectFolder() const
{
    if (delphiProjectFile.isEmpty())
        return {};
    return platform::folderOf(platform::toNative(delphiProjectFile));
}

void TextLook::applyTo(QFont& font) const
{
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
}

ToolPath ToolPath::fromStored(const QString& path)
{
    const platform::SplitPath part = platform::splitToolPath(path);
    return {part.folder, part.file};
}

QString ToolPath::path() const
{
    return sibling(program);
}

QString ToolPath::sibling(const QString& name) const
{
    return platform::joinPath(platform::toNative(folder), name);
}

Settings Settings::defaults()
{
    Settings s;
    // A tool folder ends in its separator, as stored: stored() gives the
    // whole path.
    const QString folder = delphi::standInFolder() + platform::separator();
    s.ide = {folder, QStringLiteral("delphi32.exe")};
    s.compiler = {folder, QStringLiteral("dcc32.exe")};
    s.resourceCompiler = {folder, QStringLiteral("brcc32.exe")};
    return s;
}

namespace delphi {

QString standInFolder()
{
    return platform::joinPath(platform::programFolder(), QStringLiteral("delphi"));
}

QString windowsFolder()
{
    const QByteArray env = qgetenv("LINGROVE_WINDIR");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return standInFolder();
}

QString libraryKey(int version)
{
    return QStringLiteral("Software\\Borland\\Delphi\\%1.0\\Library").arg(version);
}

QString highlightKey(int version)
{
    return QStringLiteral("Software\\Borland\\Delphi\\%1.0\\HighLight").arg(version);
}

} // namespace delphi
} // namespace lingrove::model
