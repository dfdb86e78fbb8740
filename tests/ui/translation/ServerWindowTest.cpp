// The window with its dictionary tables on a PostgreSQL server: the options
// choose the server, the dictionary window edits and copies a server table,
// a password is asked for once, and a store the server could not take is
// offered again while the translation stays in the page.
#include "LoopFixture.h"
#include "tests/model/ServerFixture.h"

#include "model/SettingsStore.h"
#include "platform/KeyStore.h"
#include "ui/project/CreateTableDialog.h"
#include "ui/project/OptionsDialog.h"
#include "ui/project/ProjectFeature.h"
#include "ui/translation/CopyTableDialog.h"
#include "ui/translation/DictionaryWindow.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>

namespace {

using namespace lingrove;
using model::testing::kAnnaPassword;

class ServerLoopTest : public lingrove::testing::LoopTest {
protected:
    void SetUp() override
    {
        QString why;
        server_ = model::testing::testServer(&why);
        if (!server_) {
            if (model::testing::serverRequired())
                FAIL() << "PostgreSQL tests cannot run: " << why.toStdString();
            GTEST_SKIP() << "PostgreSQL tests skipped: " << why.toStdString();
        }
        AppTest::SetUp();
        model::testing::useTestPasswords(home);
        database_ = model::testing::makeTestDatabase(*server_, &why);
        ASSERT_FALSE(database_.isEmpty()) << why.toStdString();
        model::Settings s = workspace().settings();
        s.dictionary = serverLocation();
        workspace().setSettings(s);
        makeTable("Words", {{"Open", "Öffnen"}, {"Close", "Schließen"}});
        const QString dpr = project + "/Test.dpr";
        lingrove::testing::writeBytes(dpr, "program Test;\r\nbegin\r\nend.\r\n");
        openProjectSource(dpr, "Words");
    }
    void TearDown() override
    {
        AppTest::TearDown();
        model::setCurrentDictionaryLocation({});
    }
    model::DictionaryLocation serverLocation() const
    {
        return model::DictionaryLocation::onServer(server_->server("anna", database_));
    }

    ui::DictionaryWindow& dictionaryWindow() { return *loop().dictionaryWindow(); }

    lingrove::testing::PostgresServer* server_ = nullptr;
    QString database_;
};

// Answers questions by script, first running a hook (the server comes back).
class HookedUi : public ui::ScriptedUserInterface {
public:
    std::function<void()> beforeQuestion;
    bool question(QWidget* parent, const QString& text, ui::BoxKind kind) override
    {
        if (beforeQuestion)
            beforeQuestion();
        return ScriptedUserInterface::question(parent, text, kind);
    }
};

TEST_F(ServerLoopTest, OptionsKeepTheServerButNeverAPassword)
{
    ui::OptionsDialog& dialog = app->project().optionsDialog();
    dialog.prepare();
    EXPECT_TRUE(dialog.serverDictionaries->isChecked());
    EXPECT_EQ(dialog.serverPort->value(), server_->port());
    EXPECT_EQ(dialog.serverDatabase->text(), database_);
    // Back to this computer: the project's table is looked for there now.
    dialog.localDictionaries->setChecked(true);
    EXPECT_FALSE(dialog.serverHost->isEnabled());
    dialog.store();
    EXPECT_FALSE(workspace().settings().dictionary.isServer());
    EXPECT_FALSE(workspace().dictionary().isOpen());
    const QStringList told = ui->texts("message").filter("The dictionary table \"Words\" does not exist");
    ASSERT_EQ(told.size(), 1) << ui->texts().join('\n').toStdString();
    EXPECT_TRUE(told[0].contains("Translations are not stored")) << told[0].toStdString();

    platform::KeyStore store;
    model::Settings loaded = model::Settings::defaults();
    model::settings_store::load(store, loaded);
    EXPECT_EQ(loaded.dictionary.server, serverLocation().server);
    EXPECT_FALSE(loaded.dictionary.isServer());
    EXPECT_FALSE(QString::fromUtf8(lingrove::testing::readBytes(store.file())).contains(kAnnaPassword));

    dialog.prepare();
    dialog.serverDictionaries->setChecked(true);
    dialog.store();
    EXPECT_TRUE(workspace().dictionary().isOpen());
    EXPECT_EQ(workspace().dictionary().lookup("Open")[0], "Öffnen");
}

TEST_F(ServerLoopTest, TheDictionaryWindowEditsAServerTableAndCopiesItToThisComputer)
{
    dictionaryWindow().showAndRaise();
    ASSERT_EQ(dictionaryWindow().tableName(), "Words") << ui->texts().join('\n').toStdString();
    model::DictionaryTableModel* grid = dictionaryWindow().model();
    QStringList columns;
    for (int i = 0; i < grid->columnCount(); ++i)
        columns << grid->headerData(i, Qt::Horizontal).toString();
    EXPECT_EQ(columns, QStringList({"Source", "Dest1", "Dest2", "Dest3", "Dest4", "Dest5"}));
    ASSERT_EQ(grid->rowCount(), 2);
    const int row = grid->index(0, 0).data().toString() == "Open" ? 0 : 1;
    ASSERT_TRUE(grid->setData(grid->index(row, 2), "Aufmachen"));
    ASSERT_TRUE(dictionaryWindow().post()) << ui->texts().join('\n').toStdString();
    EXPECT_EQ(workspace().dictionary().lookup("Open")[1], "Aufmachen");

    // Table > Copy table: to this computer under another name.
    ui->dialogs.push_back([](QDialog& dialog) {
        auto& copy = static_cast<ui::CopyTableDialog&>(dialog);
        EXPECT_EQ(copy.targetPlace->currentIndex(), 0) << "from the server, here is the other place";
        copy.targetName->setText("Words here");
        return int(QDialog::Accepted);
    });
    dictionaryWindow().copyTableAction()->trigger();
    ASSERT_EQ(ui->texts("message").size(), 1u) << ui->texts().join('\n').toStdString();
    EXPECT_TRUE(ui->texts("message")[0].contains("Copied 2 records into the new table \"Words here\" on this computer"))
        << ui->texts("message")[0].toStdString();
    model::Dictionary copy;
    ASSERT_TRUE(copy.open("Words here", model::DictionaryLocation::local()));
    EXPECT_EQ(copy.lookup("Open")[1], "Aufmachen");
    dictionaryWindow().close();

    // "Create new table" makes it where the tables are kept.
    ui::CreateTableDialog create;
    create.setProposedName("Made on the server");
    create.show();
    QTest::mouseClick(create.createButton(), Qt::LeftButton);
    QStringList names;
    QString error;
    ASSERT_TRUE(model::listTables(serverLocation(), &names, &error)) << error.toStdString();
    EXPECT_EQ(names, QStringList({"Made on the server", "Words"}));
}

TEST_F(ServerLoopTest, APasswordIsAskedForOnceAndNeverStored)
{
    qunsetenv("PGPASSWORD");
    ui->inputs = {kAnnaPassword};
    dictionaryWindow().showAndRaise();
    EXPECT_EQ(dictionaryWindow().tableName(), "Words") << ui->texts().join('\n').toStdString();
    ASSERT_EQ(ui->texts("password").size(), 1u);
    EXPECT_TRUE(ui->texts("password")[0].contains("anna on the dictionary server 127.0.0.1"));
    dictionaryWindow().closeTable();
    EXPECT_TRUE(dictionaryWindow().openTable("Words"));
    EXPECT_EQ(ui->texts("password").size(), 1u) << "once per session";
    dictionaryWindow().close();
    model::detail::forgetPassword(serverLocation().server);
}

TEST_F(ServerLoopTest, AStoreTheServerCouldNotTakeStaysInThePageAndIsOfferedAgain)
{
    auto hooked = std::make_unique<HookedUi>();
    HookedUi* script = hooked.get();
    auto previous = ui::setUserInterface(std::move(hooked));
    page("a := 'Open';\nb := 'Edit';\n");
    loop().getStringsAction()->trigger();
    locate(0);
    locate(1);
    ASSERT_TRUE(server_->stop());

    // Asked twice: the first retry fails too (the server is still away), the
    // second comes after the server is back and stores the translation.
    int asked = 0;
    script->beforeQuestion = [&] {
        if (++asked == 2)
            server_->restart();
    };
    script->answers = {true, true};
    commit("Bearbeiten");
    EXPECT_EQ(line(2), "b := 'Bearbeiten';");
    const QStringList questions = script->texts("question");
    ASSERT_EQ(questions.size(), 2) << script->texts().join('\n').toStdString();
    EXPECT_TRUE(questions[0].contains("dictionary server " + serverLocation().server.describe()))
        << questions[0].toStdString();
    EXPECT_TRUE(questions[0].contains("Try again"));
    EXPECT_EQ(dictionary().lookup("Edit")[0], "Bearbeiten");
    ui::setUserInterface(std::move(previous));
}

} // namespace
