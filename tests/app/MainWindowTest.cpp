// The main window: sizes, menu gating, View switches, the configuration
// check at first show, leaving the program, the recent projects.
#include "app/AppState.h"
#include "app/DelphiInstallation.h"
#include "app/MainWindow.h"
#include "app/RecentProjects.h"
#include "platform/KeyStore.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace lingrove;
using lingrove::app::MainWindow;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("LINGROVE_HOME", home.path().toUtf8());
        qputenv("LINGROVE_KEYSTORE", (home.path() + "/registry.txt").toUtf8());
        app::state() = app::AppState{};
    }
    void TearDown() override { app::state() = app::AppState{}; }

    void configure()
    {
        platform::KeyStore store;
        store.createKey(app::delphi::kSettingsKey);
        // A complete set of values, as the options dialog writes them.
        for (const char* name : {"Empty", "Fonts", "Numbers", "DateTime", "Dirs", "Extentions", "Separator",
                                 "SFB", "SFI", "SFU", "SFS", "CFB", "CFI", "CFU", "CFS"})
            store.writeInteger(app::delphi::kSettingsKey, name, 0);
        store.writeInteger(app::delphi::kSettingsKey, "SFC", 255);
        store.writeInteger(app::delphi::kSettingsKey, "CFC", 32768);
        store.writeInteger(app::delphi::kSettingsKey, "Highlights", 2);
    }

    QString mruPath() const { return home.path() + "/mru.dat"; }

    QTemporaryDir home;
    platform::ScriptedUi ui;
};

QStringList menuCaptions(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? QString("-") : a->text());
    return out;
}

} // namespace

TEST(MainWindowSize, FollowsTheScreenWidth)
{
    EXPECT_EQ(MainWindow::sizeForScreenWidth(799), QSize(640, 480));
    EXPECT_EQ(MainWindow::sizeForScreenWidth(800), QSize(800, 600));
    EXPECT_EQ(MainWindow::sizeForScreenWidth(1023), QSize(800, 600));
    EXPECT_EQ(MainWindow::sizeForScreenWidth(1024), QSize(930, 659));
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndAccessKeys)
{
    MainWindow w;
    EXPECT_EQ(w.windowTitle(), "Source translator");
    QStringList bar;
    for (QAction* a : w.menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, QStringList({"&File", "&Operation", "&Project", "&Extras", "&View", "&Tools", "?"}));
    EXPECT_EQ(menuCaptions(w.File1), QStringList({"&New project", "&Open Project", "Save &project", "-", "&Add File",
                                                  "&Remove File", "&Save file", "-", "&Exit"}));
    EXPECT_EQ(menuCaptions(w.Version1),
              QStringList({"&Create versioninfo", "&Remove versioninfo", "-", "&Projectinfo", "Compiler &info", "-",
                           "&View as form"}));
    EXPECT_EQ(menuCaptions(w.PopupMenu1), QStringList({"Load file under Cursor", "Load all project Ffles"}));
    EXPECT_EQ(w.Compile1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F9));
    EXPECT_EQ(w.SpeedButton5->statusTip(), "Get strings from the current file");
    EXPECT_TRUE(w.SpeedButton5->toolTip().isEmpty()) << "hints go to the hint line, not into balloons";
}

TEST_F(MainWindowTest, GatingFollowsTheActivePageAndTheProject)
{
    MainWindow w;
    w.Operation1Click();
    EXPECT_FALSE(w.Getstrings1->isEnabled()) << "project page active";
    w.Version1Click();
    EXPECT_FALSE(w.Viewasform1->isEnabled());
    EXPECT_FALSE(w.Create1->isEnabled());
    EXPECT_FALSE(w.AddinProject1->isEnabled());

    auto* form = new QWidget;
    w.PageControl1->addTab(form, "unit1.dfm");
    w.PageControl1->setCurrentWidget(form);
    w.Operation1Click();
    w.Version1Click();
    EXPECT_TRUE(w.Getstrings1->isEnabled());
    EXPECT_TRUE(w.Viewasform1->isEnabled());

    auto* unit = new QWidget;
    w.PageControl1->addTab(unit, "unit1.pas");
    w.PageControl1->setCurrentWidget(unit);
    app::state().project.ProjectName = "Demo";
    w.Version1Click();
    EXPECT_FALSE(w.Viewasform1->isEnabled());
    EXPECT_TRUE(w.Create1->isEnabled());
    EXPECT_TRUE(w.AddinProject1->isEnabled());
}

TEST_F(MainWindowTest, StatusBarSwitchHidesTheProgressPanelOnly)
{
    MainWindow w;
    w.show();
    ui->clear();
    w.Statusbar1->trigger();
    EXPECT_FALSE(w.Statusbar1->isChecked());
    EXPECT_FALSE(w.Panel6->isVisible());
    EXPECT_TRUE(w.StatusBar2->isVisible());
    w.Projecttree1->trigger();
    EXPECT_FALSE(w.TreeView1->isVisible());
    w.Projecttree1->trigger();
    EXPECT_TRUE(w.TreeView1->isVisible());
}

TEST_F(MainWindowTest, UnconfiguredStartAsksAndWarnsOnNo)
{
    QFile::remove(platform::KeyStore::defaultFile());
    {
        QFile f(mruPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("/x/a.lgv\r\n");
    }
    MainWindow w;
    ui->answers = {false};
    w.FormShow();
    EXPECT_EQ(ui->texts("question"), QStringList("You need to config the application.\r\nDo you want to do it now?"));
    EXPECT_EQ(ui->texts("message"),
              QStringList("The application is not correctly installed.\r\nSome important functions are not aviable."));
    EXPECT_TRUE(w.MRUForm->entries().isEmpty()) << "no recent projects without settings";
    EXPECT_FALSE(app::state().ConfigOK);
}

TEST_F(MainWindowTest, ConfiguredStartLoadsTheRecentProjects)
{
    configure();
    {
        QFile f(mruPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("/x/a.lgv\r\n/x/b.lgv\r\n");
    }
    MainWindow w;
    w.FormShow();
    EXPECT_TRUE(ui->shown.empty());
    EXPECT_TRUE(app::state().ConfigOK);
    EXPECT_EQ(w.MRUForm->entries(), QStringList({"/x/a.lgv", "/x/b.lgv"}));
}

TEST_F(MainWindowTest, BadStoredIntegerStopsLoadingAndSkipsRecentProjects)
{
    configure();
    platform::KeyStore store;
    store.writeString(app::delphi::kSettingsKey, "Numbers", "yes");
    {
        QFile f(mruPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("/x/a.lgv\r\n");
    }
    MainWindow w;
    w.FormShow();
    EXPECT_EQ(ui->texts("error").size(), 1);
    EXPECT_TRUE(w.MRUForm->entries().isEmpty());
}

TEST_F(MainWindowTest, DamagedSettingsAreReportedAndKept)
{
    configure();
    const QString file = home.path() + "/registry.txt";
    QByteArray bytes;
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite | QIODevice::Append));
        f.write("[Software\\Other]\n\x01\x02 not a setting\n");
        f.seek(0);
        bytes = f.readAll();
    }
    MainWindow w;
    w.FormShow();
    ASSERT_EQ(ui->texts("message").size(), 1);
    const QString text = ui->texts("message").first();
    EXPECT_TRUE(text.contains(file)) << text.toStdString();
    // The last line is the bad one.
    EXPECT_TRUE(text.contains(QString("line %1 cannot be read").arg(bytes.count('\n')))) << text.toStdString();
    EXPECT_TRUE(text.contains(file + ".damaged")) << text.toStdString();
    EXPECT_TRUE(app::state().ConfigOK);   // what could be read is used
    QFile kept(file + ".damaged");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), bytes);
}

TEST_F(MainWindowTest, CloseAlwaysWritesRecentProjectsWithoutAsking)
{
    MainWindow w;
    w.show();
    QApplication::processEvents();
    ui->clear();
    app::state().ProjectSaved = false;
    w.MRUForm->setEntries({"/p/one.lgv"});
    w.close();
    EXPECT_TRUE(ui->texts("question").isEmpty());
    QFile f(mruPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("/p/one.lgv\r\n"));
}

TEST_F(MainWindowTest, ExitWithUnsavedWorkAndNoKeepsRunning)
{
    MainWindow w;
    w.show();
    QApplication::processEvents();
    ui->clear();
    app::state().ProjectSaved = false;
    ui->answers = {false};
    w.Exit1Click();
    EXPECT_EQ(ui->texts("question"), QStringList("Do you want to save the current project"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(QFile::exists(mruPath())) << "nothing written";
}

TEST_F(MainWindowTest, SecondProjectIsRefused)
{
    MainWindow w;
    app::state().project.ProjectName = "Open";
    w.Newproject1Click();
    w.Open1Click();
    w.SpeedButton17Click();
    EXPECT_EQ(ui->texts("message"), QStringList({"You must restart the program", "You must restart the program",
                                                 "You must restart the program"}));
    EXPECT_TRUE(ui->texts("dialog").isEmpty());
}

TEST(RecentProjects, AddFollowsTheTenEntryRule)
{
    app::RecentProjectsDialog d(nullptr);
    d.AddRecentProject("A");
    d.AddRecentProject("B");
    d.AddRecentProject("C");
    EXPECT_EQ(d.entries(), QStringList({"A", "B", "C"}));
    d.AddRecentProject("B");
    EXPECT_EQ(d.entries(), QStringList({"A", "B", "C"})) << "an entry already there keeps its place";
    d.AddRecentProject("b");
    EXPECT_EQ(d.entries().size(), 4) << "letter case counts";

    QStringList ten;
    for (int i = 1; i <= 10; ++i)
        ten << QString("E%1").arg(i);
    d.setEntries(ten);
    d.AddRecentProject("N");
    QStringList expected = {"N"};
    expected += ten.mid(0, 9);
    EXPECT_EQ(d.entries(), expected);
}

TEST(RecentProjects, FileRoundTripAndMissingFile)
{
    QTemporaryDir dir;
    app::RecentProjectsDialog d(nullptr);
    d.setEntries({"x"});
    d.loadFile(dir.path() + "/none.dat");
    EXPECT_EQ(d.entries(), QStringList("x")) << "a missing file leaves the list as it is";
    QStringList many;
    for (int i = 0; i < 12; ++i)
        many << QString("/p/%1.lgv").arg(i);
    d.setEntries(many);
    ASSERT_TRUE(d.saveFile(dir.path() + "/mru.dat"));
    app::RecentProjectsDialog e(nullptr);
    e.loadFile(dir.path() + "/mru.dat");
    EXPECT_EQ(e.entries(), many) << "a list longer than ten keeps its length";
}
