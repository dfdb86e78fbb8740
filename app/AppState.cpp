#include "app/AppState.h"

#include "app/DelphiInstallation.h"
#include "platform/Paths.h"

#include <QFileInfo>

namespace lingrove::app {

AppState& state()
{
    static AppState s;
    return s;
}

QString Project::projectFilePath() const
{
    return platform::joinPath(platform::toNative(ProjectFolder), ProjectName + ".lgv");
}

QString Project::delphiProjectFolder() const
{
    return platform::folderOf(platform::toNative(DelphiProjectFile));
}

void TextLook::applyTo(QFont& font) const
{
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
}

Settings Settings::defaults()
{
    Settings s;
    const QString folder = delphi::standInFolder();
    s.IdeExe = "delphi32.exe";
    s.IdeDir = folder;
    s.CompilerExe = "dcc32.exe";
    s.CompilerDir = folder;
    s.ResCompExe = "brcc32.exe";
    s.ResCompDir = folder;
    return s;
}

QString Settings::compilerPath() const { return delphi::compilerPath(*this); }
QString Settings::idePath() const { return delphi::idePath(*this); }
QString Settings::resCompPath() const { return delphi::resCompPath(*this); }
QString Settings::compilerConfigPath() const { return delphi::compilerConfigPath(*this); }

namespace delphi {

QString standInFolder()
{
    return platform::joinPath(platform::programFolder(), "delphi");
}

static QString tool(const QString& dir, const QString& exe)
{
    // The stored folder may end in "\" already; the doubled separator is harmless.
    return platform::joinPath(platform::toNative(dir), exe);
}

QString compilerPath(const Settings& s) { return tool(s.CompilerDir, s.CompilerExe); }
QString idePath(const Settings& s) { return tool(s.IdeDir, s.IdeExe); }
QString resCompPath(const Settings& s) { return tool(s.ResCompDir, s.ResCompExe); }
QString imageEditorPath(const Settings& s) { return tool(s.CompilerDir, "imagedit.exe"); }
QString compilerConfigPath(const Settings& s) { return tool(s.CompilerDir, "dcc32.cfg"); }

QString libraryKey(int version)
{
    return QString("Software\\Borland\\Delphi\\%1.0\\Library").arg(version);
}

QString highlightKey(int version)
{
    return QString("Software\\Borland\\Delphi\\%1.0\\HighLight").arg(version);
}

} // namespace delphi
} // namespace lingrove::app
