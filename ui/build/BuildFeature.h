#pragma once
// Building and resources: "&Compile", "Compile &all", "R&un", "&Run Delphi
// IDE", "Compiler &info", the version-information resource ("&Create
// versioninfo", "&Remove versioninfo" and the wizard), the Tools menu and
// "&View readme". While a tool runs, the wait window stands in the middle of
// the screen and the windows stay painted.
#include "model/BuildService.h"
#include "model/VersionResource.h"

#include <QObject>
#include <QPointer>

class QAction;

namespace lingrove::model {
class Workspace;
}

namespace lingrove::ui {

class CompilerMessagesWindow;
class Shell;
class VersionWizard;
class WaitWindow;

class BuildFeature : public QObject {
    Q_OBJECT

public:
    BuildFeature(model::Workspace& workspace, Shell& shell, QObject* parent = nullptr);
    ~BuildFeature() override;

    // ---- Commands -------------------------------------------------------
    QAction* compileAction() const { return compile_; }
    QAction* compileAllAction() const { return compileAll_; }
    QAction* runAction() const { return run_; }
    QAction* runIdeAction() const { return runIde_; }
    QAction* createVersionInfoAction() const { return createVersionInfo_; }
    QAction* removeVersionInfoAction() const { return removeVersionInfo_; }
    QAction* compilerInfoAction() const { return compilerInfo_; }
    QAction* explorerAction() const { return explorer_; }
    QAction* pictureEditorAction() const { return pictureEditor_; }
    QAction* notepadAction() const { return notepad_; }
    QAction* viewReadmeAction() const { return viewReadme_; }

    void compile();
    void compileAll();
    void run();
    void runIde();
    void showCompilerInfo();
    // "&Create versioninfo": asks when the project has a resource already,
    // then opens the wizard.
    void createVersionInfo();
    // "&Remove versioninfo": deletes the recorded directive line from the
    // project page, when that line still is a {$R ...} directive.
    void removeVersionInfo();
    void explorer();
    void pictureEditor();
    void notepad();
    void viewReadme();

    // ---- For the version wizard -----------------------------------------
    model::VersionResource& versionResource() { return resource_; }
    // Runs the resource compiler on the project's script and waits. False,
    // with its output shown, when it did not make the resource file.
    bool compileResourceScript();
    // Inserts {$R resFileName} into the project source (see
    // VersionResource), writes it and shows it again; the user is told what
    // went wrong.
    model::VersionResource::Outcome addResourceDirective(const QString& resFileName, bool removeOld);
    // The project page's source file; null when no project source is open.
    const model::SourceFile* projectSource() const;
    // Set by createVersionInfo when the user agreed to replace the resource.
    bool replaceResource() const { return replaceResource_; }

    WaitWindow& waitWindow();
    CompilerMessagesWindow& compilerMessages();
    VersionWizard& versionWizard();

private:
    // "Ready" after success, "An error has occuped!" otherwise; then the
    // pause, hidden, resting text back.
    void finishWait(bool succeeded);
    // "The compiler <path>", as failures name it.
    QString compilerName() const;
    // "Compiler messages" with what a failed tool printed, a line saying how
    // it ended, and outcome (what was therefore not done).
    void showFailure(const QString& tool, const platform::ProcessResult& result, const QString& outcome = {});
    void setBusyCursor(bool busy);
    // Writes the version resource's place into the project file.
    void keepResourceInProjectFile();
    void minimizeWindow(bool minimize);
    // Runs a program the user works in (the project's program, the IDE):
    // the window is minimised while it runs.
    template <typename Run>
    platform::ProcessResult runMinimized(Run run);

    model::Workspace& workspace_;
    Shell& shell_;
    model::BuildService build_;
    model::VersionResource resource_;
    bool replaceResource_ = false;
    QPointer<WaitWindow> waitWindow_;
    QPointer<CompilerMessagesWindow> messages_;
    QPointer<VersionWizard> wizard_;

    QAction* compile_;
    QAction* compileAll_;
    QAction* run_;
    QAction* runIde_;
    QAction* createVersionInfo_;
    QAction* removeVersionInfo_;
    QAction* compilerInfo_;
    QAction* explorer_;
    QAction* pictureEditor_;
    QAction* notepad_;
    QAction* viewReadme_;
};

} // namespace lingrove::ui
