// The main window's commands of building and resources: they forward to
// BuildCommands, which gets the window's project page through its context.
#include "app/MainWindow.h"

#include "app/AppState.h"
#include "app/ProjectInfoDialog.h"
#include "toolchain/BuildCommands.h"
#include "toolchain/EditForm.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>

namespace lingrove::app {

void MainWindow::initBuild()
{
    toolchain::BuildContext ctx;
    ctx.parent = this;
    ctx.projectEditor = MainRichEdit;
    ctx.delphiProjectFile = [this] { return Edit5 ? Edit5->text() : QString(); };
    ctx.activateProjectPage = [this] {
        if (PageControl1)
            PageControl1->setCurrentIndex(0);
    };
    ctx.reloadProjectSource = [this] { AlteDatei(Edit5 ? Edit5->text() : state().project.DelphiProjectFile); };
    buildCommands = new toolchain::BuildCommands(std::move(ctx), this);
    if (PInform)
        PInform->viewScript = [this](const QString& path) { toolchain::viewResourceScript(PInform, path); };
}

void MainWindow::finishBuild()
{
    delete buildCommands;
    buildCommands = nullptr;
}

void MainWindow::Compile1Click() { buildCommands->Compile(); }
void MainWindow::Compileall1Click() { buildCommands->CompileAll(); }
void MainWindow::Run2Click() { buildCommands->Run(); }
void MainWindow::Run1Click() { buildCommands->RunDelphiIDE(); }
void MainWindow::Compilerinfo1Click() { buildCommands->CompilerInfo(); }
void MainWindow::Create1Click() { buildCommands->CreateVersioninfo(); }
void MainWindow::AddinProject1Click() { buildCommands->RemoveVersioninfo(); }
void MainWindow::Resourcecreator1Click() { buildCommands->Explorer(); }
void MainWindow::Pictureeditor1Click() { buildCommands->PictureEditor(); }
void MainWindow::Notepad1Click() { buildCommands->Notepad(); }
void MainWindow::Viewreadme1Click() { buildCommands->ViewReadme(); }

} // namespace lingrove::app
