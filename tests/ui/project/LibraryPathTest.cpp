// The library path: the IDE's stored path and the editor of the options
// dialog's "Library path" field.
#include "app/AppState.h"
#include "app/DelphiInstallation.h"
#include "app/LibraryPath.h"
#include "app/OptionsDialog.h"
#include "platform/KeyStore.h"
#include "platform/UserInterface.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace lingrove;
using app::LibraryPathEditor;
using platform::KeyStore;

namespace {

class LibraryPathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        KeyStore store;
        store.deleteKey(app::delphi::libraryKey(2));
        store.deleteKey(app::delphi::libraryKey(3));
        options = std::make_unique<app::OptionsDialog>();
        editor = options->LPathEdit;
    }

    // Opens the editor from the options dialog's "Edit" button; the script
    // works the editor and returns how it closed.
    void openEditor(std::function<int(LibraryPathEditor&)> script)
    {
        ui->dialogs.push_back([this, script](QDialog&) { return script(*editor); });
        options->SpeedButton15->click();
    }

    platform::ScriptedUi ui;
    std::unique_ptr<app::OptionsDialog> options;
    LibraryPathEditor* editor = nullptr;
};

} // namespace

TEST(LibraryPathText, SplitKeepsEmptyPiecesAndJoinGivesItBack)
{
    EXPECT_EQ(app::splitLibraryPath("C:\\A;C:\\B;"), QStringList({"C:\\A", "C:\\B", ""}));
    EXPECT_EQ(app::splitLibraryPath(";;C:\\A"), QStringList({"", "", "C:\\A"}));
    EXPECT_TRUE(app::splitLibraryPath("").isEmpty());
    for (const char* path : {"C:\\A;C:\\B;", "C:\\A", ";", ";;x;", "C:\\My Lib;D:\\"})
        EXPECT_EQ(app::joinLibraryPath(app::splitLibraryPath(path)), path) << path;
}

TEST_F(LibraryPathTest, StoredIdeSettingsOfEachVersion)
{
    KeyStore store;
    store.writeString(app::delphi::libraryKey(2), "SearchPath", "C:\\D2\\LIB");
    store.writeString(app::delphi::libraryKey(2), "UnitAliases", "WinTypes=Windows");
    const app::LibraryPath two = app::GetDelphiLibraryPath(2);
    EXPECT_EQ(two.SearchPath, "C:\\D2\\LIB");
    EXPECT_EQ(two.UnitAliases, "WinTypes=Windows");
    // Only Delphi 2 is installed.
    const app::LibraryPath three = app::GetDelphiLibraryPath(3);
    EXPECT_TRUE(three.SearchPath.isEmpty());
    EXPECT_TRUE(three.UnitAliases.isEmpty());
    EXPECT_FALSE(store.keyExists(app::delphi::libraryKey(3)));   // only read, never created

    store.writeString(app::delphi::libraryKey(3), "SearchPath", "C:\\D3\\LIB");
    EXPECT_EQ(app::GetDelphiLibraryPath(3).SearchPath, "C:\\D3\\LIB");
    EXPECT_TRUE(app::GetDelphiLibraryPath(3).UnitAliases.isEmpty());
}

TEST_F(LibraryPathTest, ShowsOneLinePerFolderAndOkGivesThePathBack)
{
    options->Edit6->setText("C:\\A;C:\\B;");
    openEditor([](LibraryPathEditor& e) {
        EXPECT_EQ(e.lines(), QStringList({"C:\\A", "C:\\B", ""}));
        e.BitBtn4->click();   // cancel
        return e.result();
    });
    // A second showing rebuilds the list rather than adding to it.
    openEditor([](LibraryPathEditor& e) {
        EXPECT_EQ(e.lines(), QStringList({"C:\\A", "C:\\B", ""}));
        e.BitBtn5->click();
        return e.result();
    });
    EXPECT_EQ(options->Edit6->text(), "C:\\A;C:\\B;");
    EXPECT_EQ(ui->texts("dialog"), QStringList({"Edit library path", "Edit library path"}));
}

TEST_F(LibraryPathTest, AddTakesTheFolderOfTheChosenFileOnce)
{
    ui->files = {QString("/lib/sub/a.dcu"), QString("/lib/sub/b.pas"), std::nullopt,
                 QString("C:\\Lib\\Sub\\x.dcu"), QString("C:\\top.dcu"), QString("/root.dcu")};
    openEditor([](LibraryPathEditor& e) {
        EXPECT_TRUE(e.lines().isEmpty());
        for (int i = 0; i < 6; ++i)
            e.BitBtn1->click();
        EXPECT_EQ(e.lines(), QStringList({"/lib/sub", "C:\\Lib\\Sub", "C:\\", "/"}));
        e.BitBtn5->click();
        return e.result();
    });
    EXPECT_EQ(options->Edit6->text(), "/lib/sub;C:\\Lib\\Sub;C:\\;/");
}

TEST_F(LibraryPathTest, RemoveAndEditNeedAPickedLineEachTime)
{
    options->Edit6->setText("C:\\A;C:\\B;C:\\C");
    ui->inputs = {QString("D:\\New"), std::nullopt};
    openEditor([](LibraryPathEditor& e) {
        EXPECT_FALSE(e.BitBtn2->isEnabled());
        EXPECT_FALSE(e.BitBtn3->isEnabled());

        e.TextListBox1->setCurrentRow(1);
        EXPECT_TRUE(e.BitBtn2->isEnabled() && e.BitBtn3->isEnabled());
        e.BitBtn3->click();   // edited to D:\New
        EXPECT_EQ(e.lines(), QStringList({"C:\\A", "D:\\New", "C:\\C"}));
        EXPECT_FALSE(e.BitBtn2->isEnabled() || e.BitBtn3->isEnabled());

        emit e.TextListBox1->itemClicked(e.TextListBox1->item(1));
        EXPECT_TRUE(e.BitBtn3->isEnabled());
        e.BitBtn3->click();   // input box cancelled
        EXPECT_EQ(e.lines(), QStringList({"C:\\A", "D:\\New", "C:\\C"}));
        EXPECT_FALSE(e.BitBtn3->isEnabled());

        e.TextListBox1->setCurrentRow(0);
        e.BitBtn2->click();
        EXPECT_EQ(e.lines(), QStringList({"D:\\New", "C:\\C"}));
        EXPECT_FALSE(e.BitBtn2->isEnabled() || e.BitBtn3->isEnabled());
        EXPECT_EQ(e.selectedRow(), -1);   // nothing stays picked after a removal
        e.BitBtn5->click();
        return e.result();
    });
    EXPECT_EQ(options->Edit6->text(), "D:\\New;C:\\C");
    EXPECT_EQ(ui->texts("input"), QStringList({"Set a new path", "Set a new path"}));
}

TEST_F(LibraryPathTest, OkWithAnEmptyListLeavesThePath)
{
    options->Edit6->setText("C:\\only");
    openEditor([](LibraryPathEditor& e) {
        e.TextListBox1->setCurrentRow(0);
        e.BitBtn2->click();
        EXPECT_TRUE(e.lines().isEmpty());
        e.BitBtn2->setEnabled(true);   // even if pressed with nothing left
        e.BitBtn2->click();
        e.BitBtn5->click();
        return e.result();
    });
    EXPECT_EQ(options->Edit6->text(), "C:\\only");

    // Cancel keeps any change out of the field.
    openEditor([](LibraryPathEditor& e) {
        e.TextListBox1->setCurrentRow(0);
        e.BitBtn2->click();
        e.BitBtn4->click();
        return e.result();
    });
    EXPECT_EQ(options->Edit6->text(), "C:\\only");
}
