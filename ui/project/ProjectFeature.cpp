#include "ui/project/ProjectFeature.h"

#include "model/DelphiInstallation.h"
#include "model/SettingsStore.h"
#include "model/Workspace.h"
#include "platform/FileUtil.h"
#include "platform/KeyStore.h"
#include "platform/Paths.h"
#include "ui/project/AboutBox.h"
#include "ui/project/NewProjectWizard.h"
#include "ui/project/OptionsDialog.h"
#include "ui/project/ProjectInfoDialog.h"
#include "ui/project/RecentProjectsDialog.h"
#include "ui/project/StatisticsWindow.h"
#include "ui/shell/Actions.h"
#include "ui/shell/PageArea.h"
#include "ui/shell/Shell.h"
#include "ui/shell/StringList.h"
#include "ui/shell/UserInterface.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace lingrove::ui {

ProjectFeature::ProjectFeature(model::Workspace& workspace, Shell& shell, QObject* parent)
    : QObject(parent)
    , workspace_(workspace)
    , shell_(shell)
{
    QWidget* window = shell_.window();
    wizard_ = new NewProjectWizard(*this, window);
    optionsDialog_ = new OptionsDialog(workspace_, window);
    recentDialog_ = new RecentProjectsDialog(window);
    infoDialog_ = new ProjectInfoDialog(window);
    aboutBox_ = new AboutBox(window);
    creditsWindow_ = new CreditsWindow(window);
    statisticsWindow_ = new StatisticsWindow(workspace_, shell_, window);

    newProject_ = makeAction(this, "Newproject1", QStringLiteral("&New project"));
    openProject_ = makeAction(this, "Open1", QStringLiteral("&Open Project"));
    saveProject_ = makeAction(this, "Saveproject1", QStringLiteral("Save &project"));
    recentProjects_ = makeAction(this, "RecentProjects", QStringLiteral("Recent projects"));
    exit_ = makeAction(this, "Exit1", QStringLiteral("&Exit"));
    options_ = makeAction(this, "Preferenses1", QStringLiteral("&Preferenses"));
    projectInfo_ = makeAction(this, "Projectinfo1", QStringLiteral("&Projectinfo"));
    about_ = makeAction(this, "Info1", QStringLiteral("Info"));
    credits_ = makeAction(this, "Credits1", QStringLiteral("&Credits"));
    statistics_ = makeAction(this, "Statistics1", QStringLiteral("&Statistics"));

    connect(newProject_, &QAction::triggered, this, [this] { newProject(); });
    connect(openProject_, &QAction::triggered, this, [this] { openProject(); });
    connect(saveProject_, &QAction::triggered, this, [this] { saveProject(); });
    connect(recentProjects_, &QAction::triggered, this, [this] { showRecentProjects(); });
    connect(exit_, &QAction::triggered, this, [this] { exit(); });
    connect(options_, &QAction::triggered, this, [this] { showOptions(); });
    connect(projectInfo_, &QAction::triggered, this, [this] { showProjectInfo(); });
    connect(about_, &QAction::triggered, this, [this] { showAbout(); });
    connect(credits_, &QAction::triggered, this, [this] { showCredits(); });
    connect(statistics_, &QAction::triggered, this, [this] { statisticsWindow_->showAndRefresh(); });
    shell_.onMenuShown(Menu::Extras, [this] { statistics_->setEnabled(workspace_.project().isOpen()); });
    connect(aboutBox_, &AboutBox::creditsRequested, this, [this] { showCredits(); });

    // A dictionary server that wants a password libpq has none for: asked
    // once per server and session, kept in memory only.
    model::setPasswordPrompt([window](const model::DictionaryServer& server, const QString& reason) {
        QString prompt = QStringLiteral("Password of %1 on the dictionary server %2:")
                             .arg(server.user.isEmpty() ? QStringLiteral("your login") : server.user, server.describe());
        if (!reason.isEmpty())
            prompt = reason + QStringLiteral("\n\n") + prompt;
        return ui().passwordBox(window, QStringLiteral("Dictionary server"), prompt);
    });
}

ProjectFeature::~ProjectFeature()
{
    model::setPasswordPrompt({});
}

// ---- Start and end ----------------------------------------------------------------

void ProjectFeature::reportSettingsDamage(const platform::KeyStore& store)
{
    const platform::KeyStore::Damage& damage = store.damage();
    if (damage.line == 0)
        return;
    QString text = QStringLiteral("The settings file %1 is damaged: line %2 cannot be read (%3)")
                       .arg(store.file())
                       .arg(damage.line)
                       .arg(damage.reason);
    if (damage.lines > 1)
        text += QStringLiteral(", nor can %1 more lines").arg(damage.lines - 1);
    text += QStringLiteral(".\n");
    if (damage.keptAs.isEmpty())
        text += QStringLiteral("The file cannot be copied aside, so the settings are not saved until it is repaired.");
    else
        text += QStringLiteral("The file as it was is kept as %1. The settings that could be read are used.")
                    .arg(damage.keptAs);
    ui().message(shell_.window(), text, BoxKind::Warning);
}

void ProjectFeature::start()
{
    platform::KeyStore store;
    reportSettingsDamage(store);
    for (const QString& folder : {platform::programFolder(), platform::folderOf(store.file())})
        platform::removeStaleTemporaries(folder);

    if (store.keyExists(QString::fromLatin1(model::delphi::kSettingsKey))) {
        workspace_.setConfigured(true);
        model::Settings settings = workspace_.settings();
        try {
            model::settings_store::load(store, settings);
        } catch (const std::exception& e) {
            // A bad value stops the loading where it stands; the recent
            // projects are not loaded then.
            workspace_.setSettings(settings);
            ui().error(shell_.window(), QString::fromUtf8(e.what()));
            return;
        }
        workspace_.setSettings(settings);
        recent_.load(model::RecentProjects::defaultFile());
        return;
    }
    if (ui().question(shell_.window(), QStringLiteral("You need to config the application.\r\n"
                                                      "Do you want to do it now?"))) {
        workspace_.setConfigured(false);
        ui().exec(*optionsDialog_);
    } else {
        ui().message(shell_.window(), QStringLiteral("The application is not correctly installed.\r\n"
                                                     "Some important functions are not aviable."));
    }
}

bool ProjectFeature::prepareClose()
{
    // Pages with unsaved changes are saved or left as the user says.
    if (!shell_.pages().askToSaveModifiedPages())
        return false;
    QString why;
    if (!recent_.save(model::RecentProjects::defaultFile(), &why))
        ui().error(shell_.window(), why);
    return true;
}

void ProjectFeature::exit()
{
    if (workspace_.isProjectSaved()) {
        shell_.window()->close();
        return;
    }
    if (!ui().question(shell_.window(), QStringLiteral("Do you want to save the current project")))
        return;
    // A project that could not be saved keeps the program running, so that
    // nothing is lost; the user has been told why.
    if (saveProject())
        shell_.window()->close();
}

// ---- Opening ---------------------------------------------------------------------------

bool ProjectFeature::refuseSecondProject()
{
    if (!workspace_.project().isOpen())
        return false;
    ui().message(shell_.window(), QStringLiteral("You must restart the program"));
    return true;
}

void ProjectFeature::setCaption()
{
    shell_.window()->setWindowTitle(QStringLiteral("Lingrove - [ ") + workspace_.project().name + QStringLiteral(" ]"));
}

void ProjectFeature::newProject()
{
    if (refuseSecondProject())
        return;
    ui().exec(*wizard_);
}

void ProjectFeature::openProject()
{
    if (refuseSecondProject())
        return;
    const auto path = ui().openFile(shell_.window(), QStringLiteral("Open"), QStringLiteral("Translator files|*.lgv"),
                                    QString());
    if (!path)
        return;
    recent_.add(*path);
    openProjectFile(*path);
}

void ProjectFeature::openFromCommandLine(const QString& path)
{
    if (refuseSecondProject())
        return;
    if (!QFileInfo::exists(path)) {
        ui().message(shell_.window(), QStringLiteral("The project file %1 does not exist.").arg(path),
                     BoxKind::Warning);
        return;
    }
    recent_.add(path);
    openProjectFile(path);
}

void ProjectFeature::showRecentProjects()
{
    if (refuseSecondProject())
        return;
    recentDialog_->setEntries(recent_.entries());
    ui().exec(*recentDialog_);
    if (!recentDialog_->chosen().isEmpty())
        openProjectFile(recentDialog_->chosen());
}

void ProjectFeature::openProjectFile(const QString& path)
{
    const model::ProjectFileContents contents = model::readProjectFile(path);
    if (!contents.project.isOpen()) {
        // A file without a project name opens nothing.
        ui().message(shell_.window(), QStringLiteral("%1 is not a project file of this program.").arg(path),
                     BoxKind::Warning);
        return;
    }
    if (!adoptProject(contents.project))
        return;
    setCaption();

    PageArea& pages = shell_.pages();
    pages.reloadProjectSource();
    pages.closeAllPages();
    pages.openPages(contents.files);
    pages.activatePage(contents.fileInUse);
    // The list comes back with the entries up to where the work stopped marked.
    shell_.strings().collect(workspace_.project().openedPosition);
}

bool ProjectFeature::startNewProject(const model::NewProjectFields& fields)
{
    if (!adoptProject(model::projectFromFields(fields)))
        return false;
    // A new project is as much a recent project as an opened one.
    recent_.add(workspace_.project().projectFilePath());
    setCaption();
    PageArea& pages = shell_.pages();
    pages.reloadProjectSource();
    pages.openAllProjectFiles();
    return true;
}

bool ProjectFeature::openDictionary(const QString& table)
{
    model::Dictionary& dictionary = workspace_.dictionary();
    QString error;
    if (!dictionary.open(table, &error)) {
        ui().message(shell_.window(), error, BoxKind::Error);
        return false;
    }
    if (dictionary.isReadOnly())
        ui().message(shell_.window(),
                     QStringLiteral("The dictionary table \"%1\" cannot be written, so it is open for "
                                    "lookups only: new translations are not stored in it.")
                         .arg(dictionary.tableName()),
                     BoxKind::Warning);
    return true;
}

bool ProjectFeature::adoptProject(const model::Project& p)
{
    // The dictionary is opened before the project counts as open: a table
    // that cannot be opened leaves no half-open project behind.
    if (!openDictionary(p.dictionaryTable))
        return false;
    workspace_.setProject(p);
    // What an earlier, killed session left beside the project's files goes.
    platform::removeStaleTemporaries(p.delphiProjectFolder());
    platform::removeStaleTemporaries(platform::toNative(p.folder));
    return true;
}

// ---- Saving -------------------------------------------------------------------------------

bool ProjectFeature::saveProject()
{
    const model::Project& project = workspace_.project();
    if (!project.isOpen()) {
        ui().message(shell_.window(), QStringLiteral("There is no project to save. Create or open a project first."),
                     BoxKind::Warning);
        return false;
    }
    const PageArea& pages = shell_.pages();
    try {
        model::saveProjectFile(project, pages.captions(), pages.activeCaption(), shell_.strings().selectedRow());
    } catch (const std::exception& e) {
        ui().error(shell_.window(), QString::fromUtf8(e.what()));
        return false;
    }
    workspace_.setProjectSaved(true);
    return true;
}

// ---- Dialogs ----------------------------------------------------------------------------------

void ProjectFeature::showOptions()
{
    ui().exec(*optionsDialog_);
}

void ProjectFeature::showProjectInfo()
{
    infoDialog_->setProjectFile(workspace_.project().projectFilePath());
    ui().exec(*infoDialog_);
}

void ProjectFeature::showAbout()
{
    ui().exec(*aboutBox_);
}

void ProjectFeature::showCredits()
{
    ui().exec(*creditsWindow_);
}

} // namespace lingrove::ui
