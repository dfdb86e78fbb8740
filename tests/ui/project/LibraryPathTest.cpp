// The options dialog's library path: the editor behind its "Edit" button and
// the buttons that take the path of an installed Delphi.
#include "tests/common/AppFixture.h"

#include "model/DelphiInstallation.h"
#include "platform/KeyStore.h"
#include "ui/project/LibraryPathEditor.h"
#include "ui/project/OptionsDialog.h"
#include "ui/project/ProjectFeature.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace lingrove;
using namespace lingrove::testing;
using ui::LibraryPathEditor;

namespace {

class LibraryPathTest : public AppTest {
protected:
    ui::OptionsDialog& options() { return app->project().optionsDialog(); }
    QLineEdit* pathField() { return options().libraryPathField; }

    // Opens the editor with the options dialog's "Edit" button; script works
    // the editor and closes it.
    void openEditor(std::function<void(LibraryPathEditor&)> script)
    {
        ui->dialogs.push_back([this, script](QDialog&) {
            script(*options().libraryPathEditor);
            return options().libraryPathEditor->result();
        });
        options().editLibraryPathButton->click();
    }
};

} // namespace

TEST_F(LibraryPathTest, ShowsOneLinePerFolderAndOkGivesThePathBack)
{
    pathField()->setText("C:\\A;C:\\B;");
    openEditor([](LibraryPathEditor& e) {
        EXPECT_EQ(e.lines(), QStringList({"C:\\A", "C:\\B", ""}));
        e.lineList->setCurrentRow(0);
        e.removeButton->click();
        e.cancelButton->click();   // the change stays out of the field
    });
    // A second showing rebuilds the list rather than adding to it.
    openEditor([](LibraryPathEditor& e) {
        EXPECT_EQ(e.lines(), QStringList({"C:\\A", "C:\\B", ""}));
        e.okButton->click();
    });
    EXPECT_EQ(pathField()->text(), "C:\\A;C:\\B;");

    // Nothing left: OK leaves the path, even with Remove pressed once more.
    openEditor([](LibraryPathEditor& e) {
        for (int i = 0; i < 3; ++i) {
            e.lineList->setCurrentRow(0);
            e.removeButton->click();
        }
        e.removeButton->setEnabled(true);
        e.removeButton->click();
        e.okButton->click();
    });
    EXPECT_EQ(pathField()->text(), "C:\\A;C:\\B;");
}

TEST_F(LibraryPathTest, AddTakesTheFolderOfTheChosenFileOnce)
{
    ui->files = {QString("/lib/sub/a.dcu"), QString("/lib/sub/b.pas"), std::nullopt, QString("C:\\Lib\\x.dcu")};
    openEditor([](LibraryPathEditor& e) {
        EXPECT_TRUE(e.lines().isEmpty());
        for (int i = 0; i < 4; ++i)
            e.addButton->click();
        e.okButton->click();
    });
    EXPECT_EQ(pathField()->text(), "/lib/sub;C:\\Lib");
}

TEST_F(LibraryPathTest, RemoveAndEditNeedAPickedLineEachTime)
{
    pathField()->setText("C:\\A;C:\\B;C:\\C");
    ui->inputs = {QString("D:\\New"), std::nullopt};
    openEditor([](LibraryPathEditor& e) {
        const auto enabled = [&] { return e.removeButton->isEnabled() || e.editButton->isEnabled(); };
        EXPECT_FALSE(enabled());
        e.lineList->setCurrentRow(1);
        EXPECT_TRUE(e.removeButton->isEnabled() && e.editButton->isEnabled());
        e.editButton->click();   // edited to D:\New
        EXPECT_EQ(e.lines(), QStringList({"C:\\A", "D:\\New", "C:\\C"}));
        EXPECT_FALSE(enabled());

        emit e.lineList->itemClicked(e.lineList->item(1));
        e.editButton->click();   // input box cancelled
        EXPECT_EQ(e.lines(), QStringList({"C:\\A", "D:\\New", "C:\\C"}));
        EXPECT_FALSE(enabled());

        e.lineList->setCurrentRow(0);
        e.removeButton->click();
        EXPECT_EQ(e.lines(), QStringList({"D:\\New", "C:\\C"}));
        EXPECT_FALSE(enabled());
        EXPECT_EQ(e.selectedRow(), -1) << "nothing stays picked after a removal";
        e.okButton->click();
    });
    EXPECT_EQ(pathField()->text(), "D:\\New;C:\\C");
    EXPECT_EQ(ui->texts("input").size(), 2);
}

TEST_F(LibraryPathTest, DelphiButtonsTakeTheInstalledPath)
{
    platform::KeyStore store;
    store.writeString(model::delphi::libraryKey(2), "SearchPath", "C:\\D2\\lib;C:\\x");
    store.writeString(model::delphi::libraryKey(2), "UnitAliases", "WinTypes=Windows");
    options().delphi2LibraryButton->click();
    EXPECT_EQ(pathField()->text(), "C:\\D2\\lib;C:\\x");
    EXPECT_EQ(options().unitAliasesField->text(), "WinTypes=Windows");
    options().delphi3LibraryButton->click();   // no Delphi 3
    EXPECT_TRUE(pathField()->text().isEmpty() && options().unitAliasesField->text().isEmpty());
}
