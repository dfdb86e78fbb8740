// Source pages in the window: opening the demo project, closing pages, the
// caret position, the stored file list, files that cannot be shown.
#include "tests/common/AppFixture.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QPlainTextEdit>

namespace {

using lingrove::testing::readBytes;
using lingrove::testing::writeBytes;

class PagesTest : public lingrove::testing::AppTest {
protected:
    void acceptFolderNames(bool accept)
    {
        lingrove::model::Settings s = workspace().settings();
        s.accept.Dirs = accept;
        workspace().setSettings(s);
    }
};

TEST_F(PagesTest, TheDemoProjectOpensWithAllItsPages)
{
    acceptFolderNames(true);
    openProjectSource(copyDemo());
    pages().openAllProjectFiles();
    EXPECT_EQ(captions(), QStringList({"Demo.dpr", "main.pas", "about.pas", "frm\\input.pas", "texts.pas",
                                       "main.dfm", "about.dfm", "frm\\input.dfm"}));
    EXPECT_TRUE(ui->shown.empty()) << ui->texts().join("\n").toStdString();
    // Forms are converted in memory: no text file is left beside them.
    EXPECT_TRUE(leftOver("*.txt").isEmpty());

    // Each page has an editor of its own; a form page shows the text form.
    QPlainTextEdit* form = pages().activeFileEditor();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->toPlainText().startsWith("object InputForm: TInputForm\n"));
    EXPECT_TRUE(form->toPlainText().contains(QString::fromUtf8("'Düsseldorf'")));

    pages().tabs()->setCurrentIndex(1);
    EXPECT_TRUE(pages().activeEditor()->toPlainText().contains("ShowMessage('Don''t worry, nothing was added.');"));
    EXPECT_TRUE(pages().activeEditor()->toPlainText().contains(QString::fromUtf8("'Adreßbuch'")));
}

TEST_F(PagesTest, ClosingPagesKeepsTheProjectPageAndEachPageItsEditor)
{
    openProjectSource(copyDemo());
    for (const char* name : {"main.pas", "about.pas", "texts.pas"})
        pages().openPage(name);
    QPlainTextEdit* texts = pages().activeFileEditor();

    pages().tabs()->setCurrentIndex(0);
    pages().closeActivePage();
    EXPECT_EQ(ui->texts("message"), QStringList{"Project page not removable"});
    EXPECT_EQ(pages().tabs()->count(), 4);

    pages().tabs()->setCurrentIndex(2);
    pages().removeFileAction()->trigger();
    EXPECT_EQ(captions(), QStringList({"Demo.dpr", "main.pas", "texts.pas"}));
    EXPECT_EQ(pages().tabs()->currentIndex(), 0);
    EXPECT_EQ(pages().activeFileEditor(), nullptr);
    EXPECT_EQ(pages().activeEditor(), pages().projectEditor());
    pages().tabs()->setCurrentIndex(2);
    EXPECT_EQ(pages().activeFileEditor(), texts);

    // A page opened now gets a name no other page has.
    pages().openPage("about.pas");
    EXPECT_EQ(pages().tabs()->findChildren<QPlainTextEdit*>("RichEdit3").size(), 1);

    pages().closeAllPages();
    EXPECT_EQ(captions(), QStringList{"Demo.dpr"});
}

TEST_F(PagesTest, CaretPositionIsShownOneBased)
{
    openProjectSource(copyDemo());
    pages().openPage("main.pas");
    QPlainTextEdit* e = pages().activeFileEditor();
    e->moveCursor(QTextCursor::Start);
    pages().showPosition(e);
    EXPECT_EQ(pages().positionLabel()->text(), "  1 : 1");
    QTextCursor c(e->document()->findBlockByNumber(2));
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
    e->setTextCursor(c);   // the editor reports its caret moves itself
    EXPECT_EQ(pages().positionLabel()->text(), "  3 : 5");
}

TEST_F(PagesTest, StoredFileListOpensExistingFilesInOrderAndSkipsMissingOnes)
{
    openProjectSource(copyDemo());
    // A file named twice gets one page: a second one would be stale once
    // the first is saved.
    pages().openPages({"Gone.pas", "TEXTS.PAS", "gone.dfm", "Main.dfm", "texts.pas", "frm/../Main.dfm"});
    EXPECT_EQ(captions(), QStringList({"Demo.dpr", "texts.pas", "main.dfm"}));
    EXPECT_EQ(pages().activeCaption(), "main.dfm");
    EXPECT_FALSE(pages().progressBar()->isVisible());

    pages().closeAllPages();
    pages().openPages({"gone.pas", "nothing.dfm"});
    EXPECT_EQ(captions(), QStringList{"Demo.dpr"});
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(PagesTest, AFileThatCannotBeShownLeavesNoPageAndNoTextFile)
{
    openProjectSource(copyDemo());
    writeBytes(project + "/Broken.dfm", QByteArray::fromHex("ff0a00 5442524f4b454e 00 3010 05000000 54504630 01"));
    writeBytes(project + "/Broken.TXT", "a file of the user");
    pages().openPage("broken.dfm");
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message").first().contains("Broken.dfm"));
    EXPECT_EQ(pages().tabs()->count(), 1);
    EXPECT_EQ(readBytes(project + "/Broken.TXT"), "a file of the user");

    // An unterminated literal: no empty page that could be saved over the unit.
    writeBytes(project + "/Open.pas", "unit Open;\r\nconst S = 'no end;\r\nend.\r\n");
    pages().openPage("open.pas");
    EXPECT_EQ(ui->texts("error").size(), 1);
    EXPECT_EQ(pages().tabs()->count(), 1);
    EXPECT_EQ(pages().tabs()->currentIndex(), 0);
}

} // namespace
