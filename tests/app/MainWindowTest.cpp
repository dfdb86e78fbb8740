// The main window: its size, which commands the menus offer, the View
// switches, the check of the configuration when it first shows, the recent
// projects, and leaving the program.
#include "tests/common/AppFixture.h"

#include "model/DelphiInstallation.h"
#include "model/SettingsStore.h"
#include "platform/KeyStore.h"
#include "ui/build/BuildFeature.h"
#include "ui/formview/FormViewFeature.h"
#include "ui/pages/ProjectTree.h"
#include "ui/project/ProjectFeature.h"
#include "ui/translation/TranslationFeature.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

using namespace lingrove;
using namespace lingrove::testing;
using lingrove::app::MainWindow;

namespace {

class MainWindowTest : public AppTest {
protected:
    // Settings stored as the options dialog stores them.
    void configure()
    {
        platform::KeyStore store;
        ASSERT_TRUE(model::settings_store::save(store, model::Settings::defaults(), false));
    }
    QString recentFile() const { return home + "/mru.dat"; }

    // Shows the window and waits until what its first showing does is done
    // (the user has been asked or told something, or the settings are read).
    void showFirstTime()
    {
        window().show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return workspace().isConfigured() || !ui->shown.empty(); }));
        QApplication::processEvents();
    }
    void openMenu(ui::Menu menu) { emit window().menu(menu)->aboutToShow(); }
};

} // namespace

TEST(MainWindowSize, FollowsTheScreenWidth)
{
    EXPECT_EQ(MainWindow::sizeForScreenWidth(799), QSize(640, 480));
    EXPECT_EQ(MainWindow::sizeForScreenWidth(800), QSize(800, 600));
    EXPECT_EQ(MainWindow::sizeForScreenWidth(1023), QSize(800, 600));
    EXPECT_EQ(MainWindow::sizeForScreenWidth(1024), QSize(930, 659));
}

TEST_F(MainWindowTest, MenusOfferWhatTheActivePageAndTheProjectAllow)
{
    QAction* getStrings = app->translation().getStringsAction();
    QAction* viewAsForm = app->formView().viewAsFormAction();
    QAction* createVersion = app->build().createVersionInfoAction();
    QAction* removeVersion = app->build().removeVersionInfoAction();

    openMenu(ui::Menu::Operation);
    openMenu(ui::Menu::Extras);
    EXPECT_FALSE(getStrings->isEnabled()) << "project page active";
    EXPECT_FALSE(viewAsForm->isEnabled());
    EXPECT_FALSE(createVersion->isEnabled()) << "no project";
    EXPECT_FALSE(removeVersion->isEnabled());

    openProjectSource(copyDemo());
    pages().openPage("main.dfm");
    ASSERT_EQ(pages().activeCaption(), "main.dfm");
    openMenu(ui::Menu::Operation);
    openMenu(ui::Menu::Extras);
    EXPECT_TRUE(getStrings->isEnabled());
    EXPECT_TRUE(viewAsForm->isEnabled());
    EXPECT_TRUE(createVersion->isEnabled());
    EXPECT_TRUE(removeVersion->isEnabled());

    pages().openPage("main.pas");
    ASSERT_EQ(pages().activeCaption(), "main.pas");
    openMenu(ui::Menu::Extras);
    EXPECT_FALSE(viewAsForm->isEnabled());

    pages().showProjectPage();
    openMenu(ui::Menu::Operation);
    EXPECT_FALSE(getStrings->isEnabled());
}

TEST_F(MainWindowTest, ViewSwitchesShowAndHideTheirPart)
{
    window().show();
    window().statusBarToggle()->trigger();
    EXPECT_FALSE(window().statusBarToggle()->isChecked());
    EXPECT_FALSE(pages().statusPanel()->isVisible());
    EXPECT_TRUE(window().statusBar()->isVisible()) << "the hint line stays";
    window().projectTreeToggle()->trigger();
    EXPECT_FALSE(pages().tree()->isVisible());
    window().projectTreeToggle()->trigger();
    EXPECT_TRUE(pages().tree()->isVisible());
    window().toolBarToggle()->trigger();
    EXPECT_FALSE(window().toolBar()->isVisible());
}

TEST_F(MainWindowTest, UnconfiguredStartAsksForTheOptions)
{
    writeBytes(recentFile(), "/x/a.lgv\r\n");
    ui->answers = {false};
    showFirstTime();
    const QString question = "You need to config the application.\r\nDo you want to do it now?";
    EXPECT_EQ(ui->texts("question"), QStringList(question));
    EXPECT_EQ(ui->texts("message"),
              QStringList("The application is not correctly installed.\r\nSome important functions are not aviable."));
    EXPECT_TRUE(app->project().recentProjects().entries().isEmpty()) << "no recent projects without settings";
    EXPECT_FALSE(workspace().isConfigured());

    // Yes: the options dialog, here cancelled.
    app.reset();
    app = std::make_unique<app::Application>();
    ui->clear();
    ui->answers = {true};
    showFirstTime();
    EXPECT_EQ(ui->texts(), QStringList({question, "Option"}));
    EXPECT_FALSE(workspace().isConfigured());
}

TEST_F(MainWindowTest, ConfiguredStartReadsTheSettingsAndTheRecentProjects)
{
    // Which settings are read: OptionsTest.OkStoresTheSettingsForTheNextStart.
    configure();
    writeBytes(recentFile(), "/x/a.lgv\r\n/x/b.lgv\r\n");
    showFirstTime();
    EXPECT_TRUE(ui->shown.empty()) << ui->texts().join('|').toStdString();
    EXPECT_TRUE(workspace().isConfigured());
    EXPECT_EQ(app->project().recentProjects().entries(), QStringList({"/x/a.lgv", "/x/b.lgv"}));

    // A value that is no integer stops the reading: told, no recent projects.
    platform::KeyStore().writeString(model::delphi::kSettingsKey, "Numbers", "yes");
    app.reset();
    app = std::make_unique<app::Application>();
    showFirstTime();
    EXPECT_EQ(ui->texts("error").size(), 1);
    EXPECT_TRUE(app->project().recentProjects().entries().isEmpty());
}

TEST_F(MainWindowTest, DamagedSettingsAreReportedAndKept)
{
    configure();
    const QString file = home + "/registry.txt";
    QByteArray bytes = readBytes(file) + "[Software\\Other]\n\x01\x02 not a setting\n";
    writeBytes(file, bytes);
    showFirstTime();
    ASSERT_EQ(ui->texts("message").size(), 1) << ui->texts().join('|').toStdString();
    const QString text = ui->texts("message").first();
    EXPECT_TRUE(text.contains(file)) << text.toStdString();
    // The last line is the bad one.
    EXPECT_TRUE(text.contains(QString("line %1 cannot be read").arg(bytes.count('\n')))) << text.toStdString();
    EXPECT_TRUE(text.contains(file + ".damaged")) << text.toStdString();
    EXPECT_TRUE(workspace().isConfigured()) << "what could be read is used";
    EXPECT_EQ(readBytes(file + ".damaged"), bytes);
}

TEST_F(MainWindowTest, ExitAsksAboutUnsavedWorkCloseWritesTheRecentProjects)
{
    configure();
    showFirstTime();
    workspace().setProjectSaved(false);
    app->project().recentProjects().setEntries({"/p/one.lgv"});
    ui->answers = {false};
    app->project().exitAction()->trigger();
    EXPECT_EQ(ui->texts("question"), QStringList("Do you want to save the current project"));
    EXPECT_TRUE(window().isVisible());
    EXPECT_FALSE(QFile::exists(recentFile())) << "nothing written";

    // Yes, but the project cannot be saved: still running, the user told why.
    ui->clear();
    ui->answers = {true};
    app->project().exitAction()->trigger();
    EXPECT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(window().isVisible());

    // Closing the window asks nothing and writes the recent projects.
    ui->clear();
    EXPECT_TRUE(window().close());
    EXPECT_TRUE(ui->shown.empty());
    EXPECT_EQ(readBytes(recentFile()), QByteArray("/p/one.lgv\r\n"));

    // Yes with a project: saved, then closed.
    window().show();
    openProjectSource(copyDemo());
    workspace().setProjectSaved(false);
    ui->answers = {true};
    app->project().exitAction()->trigger();
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(readBytes(project + "/Test.lgv").contains("[Opened]"));
}

TEST_F(MainWindowTest, SecondProjectIsRefused)
{
    workspace().project().name = "Open";
    window().menu(ui::Menu::File)->actions().value(0)->trigger();   // New project
    window().menu(ui::Menu::File)->actions().value(1)->trigger();   // Open Project
    window().findChild<QToolButton*>("SpeedButton17")->click();     // the recent projects
    EXPECT_EQ(ui->texts(), QStringList({"You must restart the program", "You must restart the program",
                                        "You must restart the program"}));
}
