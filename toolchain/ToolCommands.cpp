// The Tools menu and "View readme": programs started without waiting.
#include "toolchain/BuildCommands.h"
#include "toolchain/WindowsFolder.h"

#include "app/AppState.h"
#include "app/DelphiInstallation.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/UserInterface.h"

namespace lingrove::toolchain {

using platform::ui;

QString windowsFolder()
{
    const QByteArray env = qgetenv("LINGROVE_WINDIR");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return app::delphi::standInFolder();
}

void BuildCommands::Explorer()
{
    // A file manager that does not start is not reported.
    platform::startDetached(platform::joinPath(windowsFolder(), "explorer"), {});
}

void BuildCommands::PictureEditor()
{
    if (!platform::startDetached(app::delphi::imageEditorPath(app::state().settings), {}))
        ui().message(ctx_.parent, QStringLiteral("Cannot create process"));
}

void BuildCommands::Notepad()
{
    if (!platform::startDetached(platform::joinPath(windowsFolder(), "Notepad.exe"), {}))
        ui().message(ctx_.parent, QStringLiteral("Can not create process"));
}

void BuildCommands::ViewReadme()
{
    // readme.txt is named without a folder; Notepad runs in the program's
    // folder, where the readme lies, whatever folder the program is in now
    // (a project's folder may hold a readme.txt of its own).
    if (!platform::startDetached(platform::joinPath(windowsFolder(), "Notepad.exe"), {QStringLiteral("readme.txt")},
                                 platform::programFolder()))
        ui().message(ctx_.parent, QStringLiteral("Can not create process"));
}

} // namespace lingrove::toolchain
