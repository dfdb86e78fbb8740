// Source pages: opening the demo project, closing pages, the caret position,
// the stored file list, files that cannot be shown.
#include "pages_fixture.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTextBlock>
#include <QTextCursor>

using namespace pagetest;

TEST_F(PagesTest, TheDemoProjectOpensWithAllItsPages)
{
    state().settings.Dirs = true;
    MainWindow& w = open(copyDemo());
    w.DateiLaden();
    EXPECT_EQ(captions(), QStringList({"Demo.dpr", "main.pas", "about.pas", "frm\\input.pas", "texts.pas",
                                       "main.dfm", "about.dfm", "frm\\input.dfm"}));
    EXPECT_TRUE(ui->shown.empty()) << ui->texts().join("\n").toStdString();
    EXPECT_TRUE(leftOver("*.txt").isEmpty() && leftOver("*.TXT").isEmpty());

    // Each page has an editor of its own; a form page shows the text form.
    QTextEdit* form = w.activeFileEditor();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->objectName(), "RichEdit7");
    EXPECT_EQ(w.PageControl1->currentWidget()->objectName(), "TabSheet7");
    EXPECT_TRUE(form->toPlainText().startsWith("object InputForm: TInputForm\n"));
    EXPECT_TRUE(form->toPlainText().contains(QString::fromUtf8("'Düsseldorf'")));

    w.PageControl1->setCurrentIndex(1);
    EXPECT_TRUE(w.activeEditor()->toPlainText().contains("ShowMessage('Don''t worry, nothing was added.');"));
    EXPECT_TRUE(w.activeEditor()->toPlainText().contains(QString::fromUtf8("'Adreßbuch'")));
}

TEST_F(PagesTest, ClosingPagesKeepsTheProjectPageAndEachPageItsEditor)
{
    MainWindow& w = open(copyDemo());
    for (const char* name : {"main.pas", "about.pas", "texts.pas"})
        w.OpenSourcePage(name);
    QTextEdit* texts = w.activeFileEditor();

    w.PageControl1->setCurrentIndex(0);
    w.DeletePage();
    EXPECT_EQ(ui->texts("message"), QStringList{"Project page not removable"});
    EXPECT_EQ(w.PageControl1->count(), 4);

    w.PageControl1->setCurrentIndex(2);
    w.Remove1Click();
    EXPECT_EQ(captions(), QStringList({"Demo.dpr", "main.pas", "texts.pas"}));
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
    EXPECT_EQ(w.activeFileEditor(), nullptr);
    EXPECT_EQ(w.activeEditor(), w.MainRichEdit);
    w.PageControl1->setCurrentIndex(2);
    EXPECT_EQ(w.activeFileEditor(), texts);

    // A page opened now gets a name no other page has.
    w.OpenSourcePage("about.pas");
    EXPECT_EQ(w.PageControl1->findChildren<QTextEdit*>("RichEdit3").size(), 1);

    w.DeletePages();
    EXPECT_EQ(captions(), QStringList{"Demo.dpr"});
}

TEST_F(PagesTest, CaretPositionIsShownOneBased)
{
    MainWindow& w = open(copyDemo());
    w.OpenSourcePage("main.pas");
    QTextEdit* e = w.activeFileEditor();
    e->moveCursor(QTextCursor::Start);
    w.GetPosition(e);
    EXPECT_EQ(w.Panel6Caption->text(), "  1 : 1");
    QTextCursor c(e->document()->findBlockByNumber(2));
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
    e->setTextCursor(c);   // the editor reports its caret moves itself
    EXPECT_EQ(w.Panel6Caption->text(), "  3 : 5");
}

TEST_F(PagesTest, StoredFileListOpensExistingFilesInOrderAndSkipsMissingOnes)
{
    MainWindow& w = open(copyDemo());
    w.ListBox4->addItems({"Gone.pas", "TEXTS.PAS", "gone.dfm", "Main.dfm"});
    w.DateiLaden1();
    EXPECT_EQ(captions(), QStringList({"Demo.dpr", "texts.pas", "main.dfm"}));
    EXPECT_FALSE(w.ProgressBar1->isVisible());

    w.DeletePages();
    w.ListBox4->clear();
    w.ListBox4->addItems({"gone.pas", "nothing.dfm"});
    w.DateiLaden1();
    EXPECT_EQ(captions(), QStringList{"Demo.dpr"});
    EXPECT_TRUE(ui->shown.empty());
}

TEST_F(PagesTest, AFileThatCannotBeShownLeavesNoPageAndNoTextFile)
{
    MainWindow& w = open(copyDemo());
    writeBytes(project + "/Broken.dfm", QByteArray::fromHex("ff0a00 5442524f4b454e 00 3010 05000000 54504630 01"));
    writeBytes(project + "/Broken.TXT", "a file of the user");
    w.OpenSourcePage("broken.dfm");
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message").first().contains("Broken.dfm"));
    EXPECT_EQ(w.PageControl1->count(), 1);
    EXPECT_EQ(readBytes(project + "/Broken.TXT"), "a file of the user");

    // An unterminated literal: no empty page that could be saved over the unit.
    writeBytes(project + "/Open.pas", "unit Open;\r\nconst S = 'no end;\r\nend.\r\n");
    w.OpenSourcePage("open.pas");
    EXPECT_EQ(ui->texts("error").size(), 1);
    EXPECT_EQ(w.PageControl1->count(), 1);
    EXPECT_EQ(w.PageControl1->currentIndex(), 0);
}
