// The project file and the project commands: the wizard's checks and file,
// saving [Files] and [Opened], reading them back.
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/NewProjectWizard.h"
#include "app/ProjectFile.h"
#include "app/ProjectInfoDialog.h"
#include "app/RecentProjects.h"
#include "platform/IniFile.h"
#include "platform/UserInterface.h"
#include "translation/Dictionary.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lingrove;
using lingrove::app::MainWindow;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ProjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        qputenv("LINGROVE_HOME", dir.path().toUtf8());
        qputenv("LINGROVE_KEYSTORE", (dir.path() + "/registry.txt").toUtf8());
        app::state() = app::AppState{};
        QDir(dir.path()).mkpath("delphi");
        QFile dpr(dir.path() + "/delphi/Demo.dpr");
        ASSERT_TRUE(dpr.open(QIODevice::WriteOnly));
        dpr.write("program Demo;\r\nbegin\r\nend.\r\n");
        dpr.close();
        // The dictionary tables the projects below name.
        QString why;
        for (const char* table : {"German_English", "t"})
            ASSERT_TRUE(translation::createTable(table, 50, &why)) << why.toStdString();
    }
    void TearDown() override { app::state() = app::AppState{}; }

    void fillWizard(app::NewProjectWizard& w)
    {
        w.Edit1->setText("Demo");
        w.DirectoryEdit1->setText(dir.path() + "/work");
        w.FilenameEdit1->setText(dir.path() + "/delphi/Demo.dpr");
        w.Edit3->setText("German");
        w.Edit4->setText("English");
        w.ComboBox1->setEditText("German_English");
    }

    QTemporaryDir dir;
    platform::ScriptedUi ui;
};

} // namespace

TEST(ProjectFileText, ElevenLinesByteForByte)
{
    app::NewProjectFields f{"Demo", "C:\\Work", "C:\\D\\demo.dpr", "Deutsch", "English", "Deutsch_English"};
    EXPECT_EQ(app::newProjectFileText(f),
              QByteArray("[General]\r\nProjectname=Demo\r\nProjectfolder=C:\\Work\r\nFilename=C:\\D\\demo.dpr\r\n"
                         "Source=Deutsch\r\nDestination=English\r\nDatabase=Deutsch_English\r\n"
                         "[Resource]\r\nResname=\r\nFullresname=\r\nPosition=-1\r\n"));
}

TEST_F(ProjectTest, WizardReportsOnlyTheFirstMissingField)
{
    MainWindow main;
    app::NewProjectWizard& w = *main.Newpro;
    EXPECT_FALSE(w.CreateProject());
    EXPECT_EQ(ui->texts("message"), QStringList("Project name is missing"));

    ui->clear();
    w.Edit1->setText("Demo");
    w.Edit3->setText("German");
    EXPECT_FALSE(w.CreateProject());
    EXPECT_EQ(ui->texts("message"), QStringList("Project directory not defined"));

    ui->clear();
    w.DirectoryEdit1->setText(dir.path());
    w.FilenameEdit1->setText(dir.path() + "/delphi/Demo.dpr");
    EXPECT_FALSE(w.CreateProject());
    EXPECT_EQ(ui->texts("message"), QStringList("Destination language not defined"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/Demo.lgv"));
}

TEST_F(ProjectTest, WizardWritesTheFileAndOpensTheProject)
{
    MainWindow main;
    app::NewProjectWizard& w = *main.Newpro;
    fillWizard(w);
    ui->answers = {true};   // create the missing folder
    ASSERT_TRUE(w.CreateProject());
    const QString file = dir.path() + "/work/Demo.lgv";
    EXPECT_EQ(readAll(file), app::newProjectFileText(w.fields()));
    EXPECT_EQ(main.windowTitle(), "Lingrove - [ Demo ]");
    EXPECT_EQ(app::state().project.ProjectName, "Demo");
    EXPECT_EQ(app::state().project.ResPosition, -1);
    EXPECT_EQ(QDir::currentPath(), QDir(dir.path() + "/delphi").canonicalPath());
}

TEST_F(ProjectTest, SaveWritesPagesAndPositionAndReopens)
{
    MainWindow main;
    app::NewProjectWizard& w = *main.Newpro;
    fillWizard(w);
    ui->answers = {true};
    ASSERT_TRUE(w.CreateProject());
    const QString file = dir.path() + "/work/Demo.lgv";

    main.PageControl1->setTabText(0, "Demo.dpr");
    main.PageControl1->addTab(new QWidget, "unit1.pas");
    main.PageControl1->addTab(new QWidget, "unit1.dfm");
    main.PageControl1->setCurrentIndex(2);
    app::state().ProjectSaved = false;
    ASSERT_TRUE(main.Saveproject1Click());
    EXPECT_TRUE(app::state().ProjectSaved);
    ASSERT_TRUE(main.Saveproject1Click()) << "saving twice";

    const QByteArray text = readAll(file);
    EXPECT_EQ(text.count("[Files]"), 1);
    EXPECT_TRUE(text.contains("[Files]\r\nunit1.pas=1\r\nunit1.dfm=2\r\n"));
    EXPECT_TRUE(text.contains("[Opened]\r\nFileInUse=unit1.dfm\r\nPosition=-1\r\n"));
    EXPECT_FALSE(text.contains("Demo.dpr="));

    const app::ProjectFileContents c = app::readProjectFile(file);
    EXPECT_EQ(c.files, QStringList({"unit1.pas", "unit1.dfm"}));
    EXPECT_EQ(c.fileInUse, "unit1.dfm");
    EXPECT_EQ(c.project.OpenedPosition, -1);
    EXPECT_EQ(c.project.ProjectName, "Demo");
    EXPECT_EQ(c.project.DictionaryTable, "German_English");
}

TEST_F(ProjectTest, SaveGoesToTheProjectsOwnFile)
{
    // A project file copied elsewhere is saved back to the file its own
    // folder and name keys give.
    app::NewProjectFields f{"Moved", dir.path() + "/home", dir.path() + "/delphi/Demo.dpr", "a", "b", "t"};
    QDir(dir.path()).mkpath("home");
    const QString own = app::writeNewProjectFile(f);
    const QString copy = dir.path() + "/copy.lgv";
    ASSERT_TRUE(QFile::copy(own, copy));
    MainWindow main;
    main.OpenProjectFile(copy);
    ASSERT_EQ(app::state().project.ProjectName, "Moved");
    ASSERT_TRUE(main.Saveproject1Click());
    EXPECT_TRUE(readAll(own).contains("[Opened]"));
    EXPECT_FALSE(readAll(copy).contains("[Opened]"));
}

TEST_F(ProjectTest, WizardFileWithoutOpenedReadsPositionZero)
{
    app::NewProjectFields f{"P", dir.path(), "x.dpr", "a", "b", "t"};
    const QString path = app::writeNewProjectFile(f);
    const app::ProjectFileContents c = app::readProjectFile(path);
    EXPECT_EQ(c.project.OpenedPosition, 0);
    EXPECT_EQ(c.project.ResPosition, -1);
    EXPECT_TRUE(c.files.isEmpty());
}

TEST_F(ProjectTest, MissingFileOpensNoProject)
{
    MainWindow main;
    main.OpenProjectFile(dir.path() + "/nothing.lgv");
    EXPECT_FALSE(app::state().project.isOpen());
    EXPECT_EQ(main.windowTitle(), "Source translator");
    EXPECT_FALSE(ui->shown.empty()) << "the user is told";
}

TEST_F(ProjectTest, SaveWithoutProjectIsRefused)
{
    MainWindow main;
    EXPECT_FALSE(main.Saveproject1Click());
    EXPECT_EQ(ui->texts("message").size(), 1);
    EXPECT_FALSE(QFile::exists(dir.path() + "/.lgv"));
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.lgv"}).isEmpty());
}

TEST_F(ProjectTest, ProjectInfoShowsTheFileOnDisk)
{
    MainWindow main;
    app::ProjectInfoDialog& info = *main.PInform;
    info.FormShow();
    EXPECT_EQ(info.Label1->text(), "Projectname: Unknown");
    EXPECT_EQ(info.Label6->text(), "Versionnifo resource file not included");
    EXPECT_FALSE(info.BitBtn2->isEnabled());

    app::NewProjectFields f{"Info", dir.path(), "x.dpr", "German", "English", "tab"};
    app::writeNewProjectFile(f);
    app::state().project.ProjectName = "Info";
    app::state().project.ProjectFolder = dir.path();
    app::state().project.FullResName = "/x/VERSION.rc";
    app::state().project.ResPosition = 3;   // in memory only: not shown
    info.FormShow();
    EXPECT_EQ(info.Label3->text(), "Source Language: German");
    EXPECT_EQ(info.Label5->text(), "Used database: tab");
    EXPECT_EQ(info.Label6->text(), "Versionnifo resource file not included");

    platform::IniFile ini(app::state().project.projectFilePath());
    ini.writeInteger("Resource", "Position", 3);
    ini.writeString("Resource", "Fullresname", "/x/VERSION.rc");
    info.FormShow();
    EXPECT_EQ(info.Label6->text(), "Resourcen name: /x/VERSION.rc");
    EXPECT_TRUE(info.BitBtn2->isEnabled());
}

TEST_F(ProjectTest, ProjectNamedOnTheCommandLineOpensAsOpenWould)
{
    MainWindow main;
    main.openFromCommandLine(dir.path() + "/missing.lgv");
    EXPECT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(main.MRUForm->entries().isEmpty()) << "a missing file is not remembered";

    app::NewProjectFields f{"Cmd", dir.path(), dir.path() + "/delphi/Demo.dpr", "a", "b", "t"};
    const QString path = app::writeNewProjectFile(f);
    main.openFromCommandLine(path);
    EXPECT_EQ(app::state().project.ProjectName, "Cmd");
    EXPECT_EQ(main.windowTitle(), "Lingrove - [ Cmd ]");
    EXPECT_EQ(main.MRUForm->entries(), QStringList(path));
    EXPECT_EQ(main.PageControl1->tabText(0), "Demo.dpr");
}
