#include "ui/build/BuildFeature.h"

#include "model/DelphiInstallation.h"
#include "model/ProjectFile.h"
#include "model/ProjectSources.h"
#include "model/Workspace.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "ui/build/CompilerMessagesWindow.h"
#include "ui/build/VersionWizard.h"
#include "ui/build/WaitWindow.h"
#include "ui/shell/Actions.h"
#include "ui/shell/PageArea.h"
#include "ui/shell/Shell.h"
#include "ui/shell/UserInterface.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QPlainTextEdit>

namespace lingrove::ui {

BuildFeature::BuildFeature(model::Workspace& workspace, Shell& shell, QObject* parent)
    : QObject(parent)
    , workspace_(workspace)
    , shell_(shell)
    , build_(workspace)
    , resource_(workspace)
{
    compile_ = makeAction(this, "Compile1", QStringLiteral("&Compile"));
    compile_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F9));
    compileAll_ = makeAction(this, "Compileall1", QStringLiteral("Compile &all"));
    run_ = makeAction(this, "Run2", QStringLiteral("R&un"));
    runIde_ = makeAction(this, "Run1", QStringLiteral("&Run Delphi IDE"));
    createVersionInfo_ = makeAction(this, "Create1", QStringLiteral("&Create versioninfo"));
    removeVersionInfo_ = makeAction(this, "AddinProject1", QStringLiteral("&Remove versioninfo"));
    compilerInfo_ = makeAction(this, "Compilerinfo1", QStringLiteral("Compiler &info"));
    explorer_ = makeAction(this, "Resourcecreator1", QStringLiteral("&Explorer"));
    pictureEditor_ = makeAction(this, "Pictureeditor1", QStringLiteral("&Picture editor"));
    notepad_ = makeAction(this, "Notepad1", QStringLiteral("&Notepad"));
    viewReadme_ = makeAction(this, "Viewreadme1", QStringLiteral("&View readme"));

    connect(compile_, &QAction::triggered, this, [this] { compile(); });
    connect(compileAll_, &QAction::triggered, this, [this] { compileAll(); });
    connect(run_, &QAction::triggered, this, [this] { run(); });
    connect(runIde_, &QAction::triggered, this, [this] { runIde(); });
    connect(createVersionInfo_, &QAction::triggered, this, [this] { createVersionInfo(); });
    connect(removeVersionInfo_, &QAction::triggered, this, [this] { removeVersionInfo(); });
    connect(compilerInfo_, &QAction::triggered, this, [this] { showCompilerInfo(); });
    connect(explorer_, &QAction::triggered, this, [this] { explorer(); });
    connect(pictureEditor_, &QAction::triggered, this, [this] { pictureEditor(); });
    connect(notepad_, &QAction::triggered, this, [this] { notepad(); });
    connect(viewReadme_, &QAction::triggered, this, [this] { viewReadme(); });

    // Whenever the project source is written, the project file learns where
    // its version resource stands.
    connect(&workspace_, &model::Workspace::sourceSaved, this, [this](const QString& path) {
        const QString source = workspace_.project().delphiProjectFile;
        if (!source.isEmpty()
            && QFileInfo(path) == QFileInfo(model::existingSpelling(platform::toNative(source))))
            keepResourceInProjectFile();
    });

    // The version resource belongs to an open project.
    shell_.onMenuShown(Menu::Extras, [this] {
        const bool open = workspace_.project().isOpen();
        createVersionInfo_->setEnabled(open);
        removeVersionInfo_->setEnabled(open);
    });
}

BuildFeature::~BuildFeature()
{
    // A top-level window of our own; the wizard and the messages have the
    // main window as parent and go with it.
    delete waitWindow_;
}

WaitWindow& BuildFeature::waitWindow()
{
    if (!waitWindow_)
        waitWindow_ = new WaitWindow();
    return *waitWindow_;
}

CompilerMessagesWindow& BuildFeature::compilerMessages()
{
    if (!messages_)
        messages_ = new CompilerMessagesWindow(shell_.window());
    return *messages_;
}

VersionWizard& BuildFeature::versionWizard()
{
    if (!wizard_)
        wizard_ = new VersionWizard(*this, shell_.window());
    return *wizard_;
}

void BuildFeature::setBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
}

void BuildFeature::minimizeWindow(bool minimize)
{
    QWidget* window = shell_.window();
    if (!window)
        return;
    if (minimize)
        window->showMinimized();
    else
        window->showNormal();
}

void BuildFeature::finishWait(bool succeeded)
{
    WaitWindow& wait = waitWindow();
    wait.showText(succeeded ? QStringLiteral("Ready") : QStringLiteral("An error has occuped!"));
    pauseWithMessages(500);
    wait.hideAndReset();
}

template <typename Run>
platform::ProcessResult BuildFeature::runMinimized(Run run)
{
    bool minimized = false;
    const platform::ProcessResult result = run([&] {
        if (!minimized) {
            minimizeWindow(true);
            minimized = true;
        }
        paintWhileWaiting();
    });
    if (result.started)
        minimizeWindow(false);
    return result;
}

// ---- Compiling ------------------------------------------------------------------

QString BuildFeature::compilerName() const
{
    return QStringLiteral("The compiler %1").arg(workspace_.settings().compiler.path());
}

void BuildFeature::showFailure(const QString& tool, const platform::ProcessResult& result, const QString& outcome)
{
    QStringList lines = model::outputLines(result.output);
    if (!result.started)
        lines << QStringLiteral("%1 could not be started. %2").arg(tool, result.error);
    else if (result.crashed)
        lines << QStringLiteral("%1 crashed. %2").arg(tool, result.error);
    else if (result.exitCode != 0)
        lines << QStringLiteral("%1 ended with exit code %2.").arg(tool).arg(result.exitCode);
    if (!outcome.isEmpty())
        lines << outcome;
    CompilerMessagesWindow& messages = compilerMessages();
    messages.setLines(lines);
    ui().exec(messages);
}

void BuildFeature::compile()
{
    // The wait window is up while the compiler runs; a failure turns it into
    // the error note, and what the compiler said is shown.
    waitWindow().showText(QString::fromLatin1(WaitWindow::RestingText));
    const platform::ProcessResult result = build_.compile(true, paintWhileWaiting);
    const bool failed = model::toolFailed(result);
    finishWait(!failed);
    if (failed)
        showFailure(compilerName(), result);
}

void BuildFeature::compileAll()
{
    WaitWindow& wait = waitWindow();
    setBusyCursor(true);
    wait.showText(QString::fromLatin1(WaitWindow::RestingText));
    const model::BuildService::CompileAll result = build_.compileAll(paintWhileWaiting);
    if (!result.started) {
        setBusyCursor(false);
        wait.hideAndReset();
        if (!result.error.isEmpty())
            ui().error(shell_.window(), result.error);
        return;
    }
    wait.showText(QStringLiteral("Ready"));
    pauseWithMessages(500);
    wait.hideAndReset();
    setBusyCursor(false);
    if (!result.error.isEmpty()) {
        ui().error(shell_.window(), result.error);
        return;
    }
    CompilerMessagesWindow& messages = compilerMessages();
    messages.setLines(result.output);
    ui().exec(messages);
}

void BuildFeature::showCompilerInfo()
{
    const QString last = compilerMessages().lastMessage();
    if (last.isEmpty())
        return;
    ui().message(shell_.window(), QStringLiteral("Last compiler message:\n") + last);
}

void BuildFeature::run()
{
    WaitWindow& wait = waitWindow();
    wait.showText(QString::fromLatin1(WaitWindow::RestingText));
    setBusyCursor(true);
    const platform::ProcessResult compiled = build_.compile(false, paintWhileWaiting);
    wait.hideAndReset();
    setBusyCursor(false);
    // A program the compiler failed to make anew is not run: it would be an
    // old one, or none.
    if (model::toolFailed(compiled)) {
        showFailure(compilerName(), compiled, QStringLiteral("The program was not started."));
        return;
    }
    const QString file = build_.programFile();
    if (!QFileInfo(file).isFile()) {
        ui().message(shell_.window(),
                     QStringLiteral("There is nothing to run: the compiler made no program %1.").arg(file),
                     BoxKind::Warning);
        return;
    }
    const platform::ProcessResult program =
        runMinimized([this](const model::BuildService::Pump& pump) { return build_.runProgram(pump); });
    if (!program.started)
        ui().message(shell_.window(), QStringLiteral("The program %1 could not be started. %2").arg(file, program.error),
                     BoxKind::Error);
}

void BuildFeature::runIde()
{
    const platform::ProcessResult ide =
        runMinimized([this](const model::BuildService::Pump& pump) { return build_.runIde(pump); });
    const QString name = QStringLiteral("The Delphi IDE %1").arg(workspace_.settings().ide.path());
    if (!ide.started) {
        ui().message(shell_.window(), QStringLiteral("%1 could not be started. %2").arg(name, ide.error),
                     BoxKind::Error);
    } else if (ide.crashed || ide.exitCode != 0) {
        // What the IDE said on leaving (no editor to open the project in, say).
        const QString said = model::outputLines(ide.output).join(QLatin1Char('\n'));
        ui().message(shell_.window(),
                     QStringLiteral("%1 ended with exit code %2.").arg(name).arg(ide.exitCode)
                         + (said.isEmpty() ? QString() : QStringLiteral("\n\n") + said),
                     BoxKind::Warning);
    }
}

// ---- The version resource --------------------------------------------------------------

void BuildFeature::createVersionInfo()
{
    if (workspace_.project().resourceLine == -1) {
        replaceResource_ = false;
    } else {
        if (!ui().question(shell_.window(),
                           QStringLiteral("The current project already contens a version info ressource file.\n"
                                          "Do you really want to remove it and rebuild the ressource?"),
                           BoxKind::Confirmation))
            return;
        replaceResource_ = true;
    }
    ui().exec(versionWizard());
}

void BuildFeature::removeVersionInfo()
{
    QPlainTextEdit* editor = shell_.pages().projectEditor();
    if (!editor) {
        workspace_.project().resourceLine = -1;
        return;
    }
    const bool hadDirective = workspace_.project().resourceLine != -1;
    const QString warning = resource_.removeDirective(*editor->document());
    if (!warning.isEmpty())
        ui().message(shell_.window(), warning, BoxKind::Warning);
    // The project source changed on its page: saved now, or kept as changed
    // (its tab says so) until the user saves it.
    if (hadDirective)
        shell_.pages().askToSaveProjectPage();
}

const model::SourceFile* BuildFeature::projectSource() const
{
    return shell_.pages().projectSource();
}

void BuildFeature::keepResourceInProjectFile()
{
    const model::Project& project = workspace_.project();
    if (!project.isOpen())
        return;
    try {
        model::saveProjectResource(project);
    } catch (const std::exception& e) {
        ui().error(shell_.window(), QString::fromUtf8(e.what()));
    }
}

bool BuildFeature::compileResourceScript()
{
    WaitWindow& wait = waitWindow();
    wait.showText(QStringLiteral("Create file ") + workspace_.project().resourceName.toUpper() + QStringLiteral("..."));
    const model::VersionResource::Compiled compiled = resource_.compileScript(paintWhileWaiting);
    finishWait(compiled.made);
    if (!compiled.made)
        showFailure(QStringLiteral("The resource compiler %1").arg(workspace_.settings().resourceCompiler.path()),
                    compiled.run,
                    QStringLiteral("The resource file %1 was not made, so the project source was left as it was.")
                        .arg(resource_.compiledFileName()));
    return compiled.made;
}

model::VersionResource::Outcome BuildFeature::addResourceDirective(const QString& resFileName, bool removeOld)
{
    PageArea& pages = shell_.pages();
    pages.showProjectPage();
    QPlainTextEdit* editor = pages.projectEditor();
    model::SourceFile* source = pages.projectSource();
    if (!editor || !source)
        return model::VersionResource::Outcome::NotAdded;
    const model::VersionResource::Change change =
        resource_.addDirective(*editor->document(), *source, resFileName, removeOld);
    if (!change.warning.isEmpty())
        ui().message(shell_.window(), change.warning, BoxKind::Warning);
    if (change.outcome == model::VersionResource::Outcome::WriteFailed)
        ui().error(shell_.window(), change.error);
    if (change.outcome == model::VersionResource::Outcome::Added) {
        pages.reloadProjectSource();
        keepResourceInProjectFile();
    }
    return change.outcome;
}

// ---- Outside tools ------------------------------------------------------------------------

void BuildFeature::explorer()
{
    // A file manager that does not start is not reported.
    platform::startDetached(platform::joinPath(model::delphi::windowsFolder(), QStringLiteral("explorer")), {});
}

void BuildFeature::pictureEditor()
{
    if (!platform::startDetached(workspace_.settings().imageEditorPath(), {}))
        ui().message(shell_.window(), QStringLiteral("Cannot create process"));
}

void BuildFeature::notepad()
{
    if (!platform::startDetached(platform::joinPath(model::delphi::windowsFolder(), QStringLiteral("Notepad.exe")), {}))
        ui().message(shell_.window(), QStringLiteral("Can not create process"));
}

void BuildFeature::viewReadme()
{
    // readme.txt is named without a folder; Notepad runs in the program's
    // folder, where the readme lies (a project's folder may hold a
    // readme.txt of its own).
    if (!platform::startDetached(platform::joinPath(model::delphi::windowsFolder(), QStringLiteral("Notepad.exe")),
                                 {QStringLiteral("readme.txt")}, platform::programFolder()))
        ui().message(shell_.window(), QStringLiteral("Can not create process"));
}

} // namespace lingrove::ui
