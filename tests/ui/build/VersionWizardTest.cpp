#include "GuiSupport.h"

#include "toolchain/EditForm.h"
#include "toolchain/VerPrev.h"
#include "toolchain/VersWizard.h"
#include "toolchain/Zeichentab.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

using namespace toolchain_test;
using lingrove::app::state;
using lingrove::toolchain::TVers;

namespace {

class WizardFixture : public BuildFixture {
protected:
    void SetUp() override
    {
        BuildFixture::SetUp();
        state().project.DelphiProjectFile = path("Demo.dpr");
        writeFile(path("Demo.dpr"), "program Demo;\r\nbegin\r\nend.\r\n");
        // No resource compiler and no compiler: only the script is looked at.
        state().settings.ResCompDir = path("none");
        state().settings.CompilerDir = path("none");
    }
    TVers& vers() { return commands->Vers(); }
};

} // namespace

TEST_F(WizardFixture, PagesAndButtons)
{
    TVers& w = vers();
    EXPECT_EQ(w.windowTitle(), "Versioninfo");
    EXPECT_EQ(w.ChooseLang->count(), 45);
    EXPECT_EQ(w.ChooseCharset->count(), 12);
    EXPECT_EQ(w.ChooseLang->itemText(28), QString::fromUtf8("Norwegian - Bokmål"));
    EXPECT_EQ(w.ChooseLang->currentIndex(), -1);
    EXPECT_FALSE(w.PriorButton->isEnabled());
    EXPECT_FALSE(w.CreateButton->isEnabled());
    w.NextButton->click();
    w.NextButton->click();
    EXPECT_FALSE(w.NextButton->isEnabled());
    EXPECT_TRUE(w.CreateButton->isEnabled());
    EXPECT_TRUE(w.PriorButton->isEnabled());

    QTest::keyClicks(w.ResName, "my_res");
    w.ResName->insert(QString::fromUtf8("ä"));
    EXPECT_EQ(w.ResName->text(), QString::fromUtf8("VERSIONMY_RESÄ"));
}

TEST_F(WizardFixture, CreateRefusesWithoutLanguageAndCodePage)
{
    TVers& w = vers();
    w.goToPage(2);
    w.ChooseLang->setCurrentIndex(7);
    w.CreateClick();
    EXPECT_EQ(ui->texts("message").size(), 1u);
    EXPECT_FALSE(QFile::exists(path("VERSION.rc")));
    EXPECT_EQ(w.Pages->currentIndex(), 0);
    EXPECT_TRUE(state().project.ResName.isEmpty());
}

TEST_F(WizardFixture, CreateWritesTheScriptAndTheDirective)
{
    TVers& w = vers();
    w.ChooseLang->setCurrentIndex(7);
    w.ChooseCharset->setCurrentIndex(0);
    w.FILEVERSION[0]->setText("1");
    w.CompanyName->setText(QString::fromUtf8("Quorvex \u00A9 \u0416"));   // no 8-bit Zhe
    w.ResName->setText("mine");
    w.Recompile->setChecked(false);
    editor->setPlainText("program Demo;\nbegin\nend.");
    w.goToPage(2);
    w.CreateClick();

    const QByteArray rc = readAll(path("MINE.rc"));
    EXPECT_TRUE(rc.startsWith("1 VERSIONINFO\r\nFILEVERSION 1,0,0,0\r\n"));
    EXPECT_TRUE(rc.contains("    BLOCK \"04070000\"\r\n"));
    EXPECT_TRUE(rc.contains("VALUE \"CompanyName\", \"Quorvex \xA9 ?\\0\"\r\n"));
    EXPECT_TRUE(rc.endsWith("      0x0407, 0\r\n  END\r\nEND\r\n"));
    EXPECT_EQ(state().project.ResName, "MINE.rc");
    EXPECT_EQ(state().project.FullResName, path("MINE.rc"));
    EXPECT_EQ(readAll(path("Demo.dpr")), "program Demo;\r\n{$R MINE.res}\r\nbegin\r\nend.");
    EXPECT_EQ(state().project.ResPosition, 1);
    EXPECT_EQ(w.result(), int(QDialog::Accepted));
}

TEST_F(WizardFixture, SignsGoToTheFocusedEditOnly)
{
    TVers& w = vers();
    w.show();
    w.goToPage(1);
    w.Comments->setFocus();
    QApplication::processEvents();
    w.SignMenu->actions()[0]->trigger();
    EXPECT_EQ(w.Comments->text(), QString::fromUtf8("Comments©"));

    auto& table = w.Zeichentab();
    table.OKClick();   // nothing clicked yet: "A"
    table.tmClicked();
    table.OKClick();   // the two letters
    table.cellClicked(0, 0);
    table.OKClick();   // code 0 unchanged
    table.cellClicked(8, 0);
    EXPECT_EQ(table.magnifierText(), QString::fromUtf8("€"));
    EXPECT_EQ(w.Comments->text(), QString::fromUtf8("Comments©ATM") + QChar(0));

    w.goToPage(0);
    w.ChooseLang->setFocus();
    QApplication::processEvents();
    w.appendToFocusedEdit("X");
    EXPECT_EQ(w.ChooseLang->currentText(), "");
    EXPECT_EQ(w.Comments->text().size(), 13);
    w.CancelClick();
    EXPECT_FALSE(table.isVisible());
}

TEST_F(WizardFixture, PreviewShowsTheStringsInItsOrder)
{
    TVers& w = vers();
    w.PrivateBuild->setText("pb");
    w.InternalName->setText("in");
    ui->dialogs.push_back([](QDialog& d) {
        auto& p = static_cast<lingrove::toolchain::TVerPrev&>(d);
        EXPECT_EQ(p.windowTitle(), "Preview");
        EXPECT_EQ(p.ListBox1->currentRow(), 0);
        EXPECT_EQ(p.Edit1->text(), "pb");
        p.ListBox1->setCurrentRow(2);
        EXPECT_EQ(p.Edit1->text(), "in");
        p.ListBox1->setCurrentRow(7);
        EXPECT_EQ(p.Edit1->text(), "");   // no language chosen
        return int(QDialog::Accepted);
    });
    w.ShowPreviewClick();
    EXPECT_EQ(ui->texts("dialog"), QStringList{"Preview"});
}

TEST_F(WizardFixture, ScriptViewerLoadsAndCopies)
{
    writeFile(path("V.rc"), "1 VERSIONINFO\r\nVALUE \"x\", \"\xA9\\0\"\r\n");
    lingrove::toolchain::TEditForm viewer;
    ASSERT_TRUE(viewer.loadFile(path("V.rc")));
    EXPECT_EQ(viewer.RichEdit1->toPlainText(), QString::fromUtf8("1 VERSIONINFO\nVALUE \"x\", \"©\\0\""));
    viewer.CopyClick();
    EXPECT_EQ(QApplication::clipboard()->text(), viewer.RichEdit1->toPlainText());

    lingrove::toolchain::viewResourceScript(nullptr, path("missing.rc"));
    EXPECT_EQ(ui->texts("error").size(), 1u);
    EXPECT_TRUE(ui->texts("dialog").isEmpty());
}
