#include "model/Project.h"
#include "model/DelphiInstallation.h"
#include "model/Settings.h"

#include "platform/Paths.h"

namespace lingrove::model {

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
    // The stored folder may end in "\" already; the doubled separator is harmless.
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
