#pragma once
// The translation project: creating ("&New project" and its wizard),
// opening ("&Open Project", the recent projects, a project file named on the
// command line) and saving it ("Save &project"); the options, the project
// information, the about box and the credits; the check of the configuration
// when the program starts, and leaving it ("&Exit"); the project's
// statistics.
#include "model/ProjectFile.h"
#include "model/RecentProjects.h"

#include <QObject>

class QAction;

namespace lingrove::platform {
class KeyStore;
}
namespace lingrove::model {
class Workspace;
}

namespace lingrove::ui {

class AboutBox;
class CreditsWindow;
class NewProjectWizard;
class OptionsDialog;
class ProjectInfoDialog;
class RecentProjectsDialog;
class Shell;
class StatisticsWindow;

class ProjectFeature : public QObject {
    Q_OBJECT

public:
    ProjectFeature(model::Workspace& workspace, Shell& shell, QObject* parent = nullptr);
    ~ProjectFeature() override;

    // ---- Commands -------------------------------------------------------
    QAction* newProjectAction() const { return newProject_; }
    QAction* openProjectAction() const { return openProject_; }
    QAction* saveProjectAction() const { return saveProject_; }
    QAction* recentProjectsAction() const { return recentProjects_; }
    QAction* exitAction() const { return exit_; }
    QAction* optionsAction() const { return options_; }
    QAction* projectInfoAction() const { return projectInfo_; }
    QAction* aboutAction() const { return about_; }
    QAction* creditsAction() const { return credits_; }
    QAction* statisticsAction() const { return statistics_; }

    // Once the window is on the screen: a damaged settings file is reported,
    // the settings are loaded (or the user is asked to configure the
    // program), and the recent projects are read.
    void start();
    // Before the window closes: the recent projects are written.
    bool prepareClose();

    void newProject();
    void openProject();
    // Opens a project file as "&Open Project" does, without the file dialog.
    void openProjectFile(const QString& path);
    // A project file named on the command line.
    void openFromCommandLine(const QString& path);
    // False when no project is open (the user is told) or the file cannot
    // be written.
    bool saveProject();
    // "&Exit": asks to save a changed project, then closes the window.
    void exit();
    void showRecentProjects();
    void showOptions();
    void showProjectInfo();
    void showAbout();
    void showCredits();

    // The wizard's last steps, once its file is written: the project is
    // opened with all its files. False when its table cannot be opened.
    bool startNewProject(const model::NewProjectFields& fields);

    model::RecentProjects& recentProjects() { return recent_; }
    NewProjectWizard& newProjectWizard() { return *wizard_; }
    OptionsDialog& optionsDialog() { return *optionsDialog_; }
    RecentProjectsDialog& recentProjectsDialog() { return *recentDialog_; }
    ProjectInfoDialog& projectInfoDialog() { return *infoDialog_; }
    StatisticsWindow& statisticsWindow() { return *statisticsWindow_; }

private:
    // Makes p the open project once its dictionary table is open; false
    // (the user told why, the project as it was) when the table cannot be opened.
    bool adoptProject(const model::Project& p);
    bool openDictionary(const QString& table);
    void reportSettingsDamage(const platform::KeyStore& store);
    void setCaption();
    // "You must restart the program" while a project is open.
    bool refuseSecondProject();

    model::Workspace& workspace_;
    Shell& shell_;
    model::RecentProjects recent_;

    NewProjectWizard* wizard_;
    OptionsDialog* optionsDialog_;
    RecentProjectsDialog* recentDialog_;
    ProjectInfoDialog* infoDialog_;
    AboutBox* aboutBox_;
    CreditsWindow* creditsWindow_;
    StatisticsWindow* statisticsWindow_;

    QAction* newProject_;
    QAction* openProject_;
    QAction* saveProject_;
    QAction* recentProjects_;
    QAction* exit_;
    QAction* options_;
    QAction* projectInfo_;
    QAction* about_;
    QAction* credits_;
    QAction* statistics_;
};

} // namespace lingrove::ui
