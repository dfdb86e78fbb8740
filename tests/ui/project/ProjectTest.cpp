// The project commands: the new-project wizard, opening a project (the file
// dialog, the recent projects, the command line), saving it, and the
// project information.
#include "tests/common/AppFixture.h"

#include "platform/IniFile.h"
#include "ui/project/NewProjectWizard.h"
#include "ui/project/ProjectFeature.h"
#include "ui/project/ProjectInfoDialog.h"
#include "ui/project/RecentProjectsDialog.h"
#include "ui/project/ScriptViewer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace lingrove;
using namespace lingrove::testing;

namespace {

class ProjectTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        makeTable("t");
    }
    ui::ProjectFeature& feature() { return app->project(); }

    void fill(ui::NewProjectWizard& w, const QString& dpr)
    {
        w.nameField->setText("Demo");
        w.folderField->setText(dir.path() + "/work");
        w.projectSourceField->setText(dpr);
        w.sourceLanguageField->setText("German");
        w.destLanguageField->setText("English");
        w.tableCombo->setEditText("German_English");
    }

    // The demo project made with the wizard, as the user does; its file.
    QString createDemoProject()
    {
        const QString dpr = copyDemo();
        makeTable("German_English");
        ui->answers = {true};   // create the missing folder
        ui->dialogs.push_back([&](QDialog& d) {
            auto& w = static_cast<ui::NewProjectWizard&>(d);
            EXPECT_EQ(w.tableCombo->currentText(), "German_English") << "the tables are listed at each showing";
            fill(w, dpr);
            w.createButton->click();
            return w.result();
        });
        feature().newProjectAction()->trigger();
        return dir.path() + "/work/Demo.lgv";
    }

    // A project file of the demo project as the wizard writes it.
    QString writeProjectFile(const QString& name, const QString& table = "t")
    {
        return model::writeNewProjectFile({name, dir.path(), copyDemo(), "German", "English", table});
    }
};

} // namespace

TEST_F(ProjectTest, WizardTellsTheFirstMissingField)
{
    ui::NewProjectWizard& w = feature().newProjectWizard();
    EXPECT_FALSE(w.create());
    EXPECT_EQ(ui->texts("message"), QStringList("Project name is missing"));

    ui->clear();
    w.nameField->setText("Demo");
    w.sourceLanguageField->setText("German");
    EXPECT_FALSE(w.create());
    EXPECT_EQ(ui->texts("message"), QStringList("Project directory not defined"));

    ui->clear();
    w.folderField->setText(dir.path() + "/work");
    w.projectSourceField->setText(copyDemo());
    EXPECT_FALSE(w.create());
    EXPECT_EQ(ui->texts("message"), QStringList("Destination language not defined"));

    // A folder that does not exist is made only when the user agrees.
    ui->clear();
    w.destLanguageField->setText("English");
    EXPECT_FALSE(w.create());
    EXPECT_EQ(ui->texts("question").size(), 1);
    EXPECT_FALSE(QDir(dir.path() + "/work").exists());
    EXPECT_FALSE(workspace().project().isOpen());
}

TEST_F(ProjectTest, WizardOpensTheProjectAndSavedPagesOpenAgain)
{
    const QString file = createDemoProject();
    ui::NewProjectWizard& w = feature().newProjectWizard();
    EXPECT_EQ(w.result(), int(QDialog::Accepted));
    EXPECT_EQ(readBytes(file), model::newProjectFileText(w.fields()));
    EXPECT_EQ(window().windowTitle(), "Lingrove - [ Demo ]");
    EXPECT_EQ(workspace().project().name, "Demo");
    EXPECT_EQ(workspace().dictionary().tableName(), "German_English");
    EXPECT_EQ(feature().recentProjects().entries(), QStringList(file));
    // All the project's files are open.
    EXPECT_EQ(captions().value(0), "Demo.dpr");
    EXPECT_TRUE(captions().contains("main.pas") && captions().contains("main.dfm"))
        << captions().join(' ').toStdString();

    ASSERT_TRUE(pages().activatePage("main.dfm"));
    const QStringList open = captions();
    workspace().setProjectSaved(false);
    feature().saveProjectAction()->trigger();
    EXPECT_TRUE(workspace().isProjectSaved());
    // What the file holds then: ProjectFileTest.SaveWritesPagesAndPositionAndCanBeRepeated.
    ASSERT_TRUE(feature().saveProject()) << "saving twice";

    // The next run opens the same pages, the same one in front.
    app.reset();
    app = std::make_unique<app::Application>();
    feature().openProjectFile(file);
    EXPECT_EQ(captions(), open);
    EXPECT_EQ(pages().activeCaption(), "main.dfm");
    EXPECT_TRUE(ui->texts("message").isEmpty() && ui->texts("error").isEmpty()) << ui->texts().join('|').toStdString();
}

TEST_F(ProjectTest, WhatCannotBeOpenedOpensNoProject)
{
    feature().openProjectFile(dir.path() + "/nothing.lgv");
    EXPECT_FALSE(workspace().project().isOpen());
    EXPECT_EQ(window().windowTitle(), "Source translator");
    EXPECT_EQ(ui->texts("message").size(), 1);

    // A dictionary table that cannot be opened leaves no half-open project.
    ui->clear();
    feature().openProjectFile(writeProjectFile("NoTable", "missing"));
    EXPECT_FALSE(workspace().project().isOpen());
    EXPECT_EQ(window().windowTitle(), "Source translator");
    EXPECT_EQ(ui->texts("message").size(), 1);

    // Nothing open: nothing to save.
    ui->clear();
    EXPECT_FALSE(feature().saveProject());
    EXPECT_EQ(ui->texts("message").size(), 1);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.lgv"}), QStringList("NoTable.lgv")) << "nothing written";
    EXPECT_FALSE(QFile::exists("/.lgv"));
}

TEST_F(ProjectTest, OpenProjectRemembersTheFileAndSavesIntoTheProjectsOwn)
{
    // A project file copied elsewhere: saved back into the file its own
    // folder and name give.
    const QString own = writeProjectFile("Opened");
    const QString copy = dir.path() + "/copy.lgv";
    ASSERT_TRUE(QFile::copy(own, copy));
    ui->files = {std::nullopt, copy};
    feature().openProjectAction()->trigger();   // cancelled
    EXPECT_FALSE(workspace().project().isOpen());
    EXPECT_TRUE(feature().recentProjects().entries().isEmpty());

    feature().openProjectAction()->trigger();
    EXPECT_EQ(workspace().project().name, "Opened");
    EXPECT_EQ(feature().recentProjects().entries(), QStringList(copy));
    EXPECT_EQ(window().windowTitle(), "Lingrove - [ Opened ]");
    EXPECT_EQ(captions().value(0), "Demo.dpr");
    ASSERT_TRUE(feature().saveProject());
    EXPECT_TRUE(readBytes(own).contains("[Opened]"));
    EXPECT_FALSE(readBytes(copy).contains("[Opened]"));
}

TEST_F(ProjectTest, RecentProjectsDialogOpensTheChosenProject)
{
    const QString path = writeProjectFile("Recent");
    feature().recentProjects().setEntries({"/x/gone.lgv", path});
    ui->dialogs.push_back([](QDialog& d) {
        auto& r = static_cast<ui::RecentProjectsDialog&>(d);
        r.list->setCurrentRow(1);
        r.cancelButton->click();
        return r.result();
    });
    ui->dialogs.push_back([](QDialog& d) {
        auto& r = static_cast<ui::RecentProjectsDialog&>(d);
        EXPECT_EQ(r.entries().size(), 2);
        r.okButton->click();   // nothing selected: stays open
        EXPECT_TRUE(r.isVisible());
        r.list->setCurrentRow(1);
        r.okButton->click();
        return r.result();
    });
    feature().recentProjectsAction()->trigger();
    EXPECT_FALSE(workspace().project().isOpen());
    feature().recentProjectsAction()->trigger();
    EXPECT_EQ(workspace().project().name, "Recent");
    EXPECT_EQ(feature().recentProjects().entries(), QStringList({"/x/gone.lgv", path}));
    EXPECT_EQ(ui->texts("dialog"), QStringList({"Projects", "Projects"}));
}

TEST_F(ProjectTest, ProjectNamedOnTheCommandLineOpensAsOpenWould)
{
    feature().openFromCommandLine(dir.path() + "/missing.lgv");
    EXPECT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(feature().recentProjects().entries().isEmpty()) << "a missing file is not remembered";

    const QString path = writeProjectFile("Cmd");
    feature().openFromCommandLine(path);
    EXPECT_EQ(workspace().project().name, "Cmd");
    EXPECT_EQ(feature().recentProjects().entries(), QStringList(path));

    // A second project needs a new start.
    ui->clear();
    feature().openFromCommandLine(writeProjectFile("Other"));
    EXPECT_EQ(ui->texts("message"), QStringList("You must restart the program"));
    EXPECT_EQ(workspace().project().name, "Cmd");
}

TEST_F(ProjectTest, ProjectInfoShowsTheFileOnDisk)
{
    auto showInfo = [this](std::function<void(ui::ProjectInfoDialog&)> look) {
        ui->dialogs.push_back([look](QDialog& d) {
            look(static_cast<ui::ProjectInfoDialog&>(d));
            return int(QDialog::Accepted);
        });
        feature().projectInfoAction()->trigger();
    };
    showInfo([](ui::ProjectInfoDialog& info) { EXPECT_FALSE(info.viewScriptButton->isEnabled()); });

    feature().openProjectFile(writeProjectFile("Info"));
    workspace().project().resourceScript = dir.path() + "/VERSION.rc";
    workspace().project().resourceLine = 3;   // in memory only: not shown
    showInfo([](ui::ProjectInfoDialog& info) {
        EXPECT_EQ(info.sourceLanguageLabel->text(), "Source Language: German");
        EXPECT_EQ(info.tableLabel->text(), "Used database: t");
        EXPECT_EQ(info.resourceLabel->text(), "Versionnifo resource file not included");
    });

    // Saved: the script can be looked at.
    ASSERT_TRUE(feature().saveProject());
    writeBytes(dir.path() + "/VERSION.rc", "1 VERSIONINFO\r\nVALUE \"x\", \"\xA9\\0\"\r\n");
    showInfo([&](ui::ProjectInfoDialog& info) {
        EXPECT_EQ(info.resourceLabel->text(), "Resourcen name: " + dir.path() + "/VERSION.rc");
        ASSERT_TRUE(info.viewScriptButton->isEnabled());
        ui->dialogs.push_back([](QDialog& d) {
            auto& viewer = static_cast<ui::ScriptViewer&>(d);
            EXPECT_EQ(viewer.view->toPlainText(), QString::fromUtf8("1 VERSIONINFO\nVALUE \"x\", \"©\\0\""));
            viewer.copyButton->click();
            EXPECT_EQ(QApplication::clipboard()->text(), viewer.view->toPlainText());
            return int(QDialog::Accepted);
        });
        info.viewScriptButton->click();
        // A script that is gone is told, not shown.
        QFile::remove(dir.path() + "/VERSION.rc");
        info.viewScriptButton->click();
    });
    EXPECT_EQ(ui->texts("dialog"),
              QStringList({"Project Info", "Project Info", "Project Info", "Resource script"}));
    EXPECT_EQ(ui->texts("error").size(), 1);
}
