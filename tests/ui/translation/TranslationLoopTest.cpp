// The translation loop on a main window: Get strings, Locate, Commit,
// proposals, undo and the undo window.
#include "test_loop_support.h"

#include "app/NewProjectWizard.h"
#include "translation/CreateTableDialog.h"
#include "translation/DictionaryWindow.h"
#include "translation/UndoWindow.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeWidget>

using namespace lingrove;
using namespace lingrove::translation;
using lingrove::translation::testing::LoopTest;
using lingrove::translation::testing::str;

namespace {

const QString kEnd = "[++++ End of the list ++++]";

TEST(LoopHelpers, QuotingAndEntryLines)
{
    EXPECT_EQ(pascalQuoted("It's 'x'"), "It''s ''x''");
    EXPECT_EQ(pascalUnquoted("It''s ''x''"), "It's 'x'");
    EXPECT_EQ(pascalUnquoted(pascalQuoted("a'''b")), "a'''b");

    // Wide numbers move the text right; it is still read back whole.
    const auto wide = parseListEntry("123456  1000  1004    Hello ");
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->line, 123456);
    EXPECT_EQ(wide->posA, 1000);
    EXPECT_EQ(wide->text, "  Hello ");
    EXPECT_EQ(wide->prefix, "123456  1000  1004  ");
    EXPECT_FALSE(parseListEntry(kEnd));

    // A character without a Windows-1252 byte keeps its place and its text.
    QTextDocument doc;
    doc.setPlainText(QString::fromUtf8("  s := '\xce\xa9mega';  t := 'Gr\xc3\xbc\xc3\x9f'"));
    const QStringList entries = scanDocument(doc, currentScanFilters());
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0], QString::fromUtf8("    1    9   13  \xce\xa9mega"));
    EXPECT_EQ(entries[1], QString::fromUtf8("    1   24   27  Gr\xc3\xbc\xc3\x9f"));
    bool exact = true;
    EXPECT_EQ(toScannerBytes(QString::fromUtf8("\xe2\x82\xac\xce\xa9"), &exact), std::string("\x80?"));
    EXPECT_FALSE(exact);
}

TEST_F(LoopTest, GetStringsMarksResumePositionAndEndsWithEndLine)
{
    page("a := 'one';\nb := 'two'; c := 'three';\n// none\nd := 'four' + 'five';\n");
    app::state().ResumeMode = true;
    app::state().project.OpenedPosition = 2;
    window->Getstrings1Click();
    app::state().ResumeMode = false;

    EXPECT_EQ(rows(window->StringEdit),
              QStringList({"    1    7    9  one", "    2    7    9  two", "    2   19   23  three",
                           "    4    7   10  four", "    4   16   19  five", kEnd}));
    EXPECT_EQ(rows(window->ListBox3), QStringList({" Yes ", " Yes ", " Yes ", " No ", " No ", "****"}));
    EXPECT_EQ(window->ListBox2->count(), 5);
    EXPECT_TRUE(window->Panel2->isVisibleTo(window.get()));
    EXPECT_EQ(window->ProgressBar1->value(), 0);
    EXPECT_EQ(window->StringEdit->currentRow(), -1);

    // Without resume mode every entry is untranslated.
    window->Getstrings1Click();
    EXPECT_EQ(rows(window->ListBox3), QStringList({" No ", " No ", " No ", " No ", " No ", "****"}));
}

TEST_F(LoopTest, PageWithoutEntriesAndProjectPageShowOnlyTheEndLine)
{
    page("x := 'one';");
    window->Getstrings1Click();
    ASSERT_EQ(window->StringEdit->count(), 2);

    page("begin end.", "unit2.pas");
    window->Getstrings1Click();
    EXPECT_EQ(rows(window->StringEdit), QStringList({kEnd}));
    EXPECT_EQ(rows(window->ListBox3), QStringList({"****"}));

    window->PageControl1->setCurrentWidget(window->MainTabSheet);
    window->MainRichEdit->setPlainText("program p; uses a in 'a.pas';");
    window->Getstrings1Click();
    EXPECT_EQ(rows(window->StringEdit), QStringList({kEnd}));
    EXPECT_TRUE(ui->shown.empty());

    // Enter on that end line on the project page does nothing.
    window->StringEdit->setCurrentRow(0);
    loop->ReplaceDialog1Find();
    loop->Commit();
    EXPECT_TRUE(ui->texts("message").isEmpty());
    EXPECT_EQ(window->PageControl1->count(), 3);
}

TEST_F(LoopTest, LocateSearchesFromTheEntrysLineAndAsksTheDictionary)
{
    ASSERT_TRUE(DM().Table1.store("&Hello", "Hallo"));
    QStringList text;
    for (int i = 1; i <= 45; ++i)
        text << (i == 12 || i == 40 ? "  s := 'He&llo';" : "  // line");
    page(text.join('\n'));
    window->Getstrings1Click();
    ASSERT_EQ(window->StringEdit->count(), 3);

    locate(1);
    EXPECT_EQ(selection(), qMakePair(QString("He&llo"), 40));
    EXPECT_EQ(loop->findText(), "'He&llo'");
    EXPECT_EQ(window->Edit1->text(), "He&llo");
    EXPECT_EQ(window->Edit2->text(), "Hallo");
    EXPECT_EQ(loop->proposals()[0], "Hallo");
    EXPECT_TRUE(window->proposalButtons[0]->isChecked());
    const QTextCharFormat look = window->activeFileEditor()->textCursor().charFormat();
    EXPECT_EQ(look.foreground().color(), app::state().settings.selectedLook.color);
    EXPECT_EQ(look.fontStrikeOut(), app::state().settings.selectedLook.strikeOut);

    // The first entry is searched from line 1.
    locate(0);
    EXPECT_EQ(selection().second, 12);
}

TEST_F(LoopTest, LocateOnRepeatedLiteralsOfOneLine)
{
    page("x := 'a' + 'a';");
    window->Getstrings1Click();
    locate(1);
    EXPECT_EQ(window->activeFileEditor()->textCursor().selectionStart(), 6);

    locate(0);
    commit("bb");
    EXPECT_EQ(line(1), "x := 'bb' + 'a';");
    locate(1);
    EXPECT_EQ(window->activeFileEditor()->textCursor().selectionStart(), 13);

    // A translated entry is found again by its translation.
    locate(0);
    EXPECT_EQ(selection(), qMakePair(QString("bb"), 1));
}

TEST_F(LoopTest, CommitWritesMarksRecordsLearnsAndMovesOn)
{
    page("unit u;\n\n\n\n  Caption := 'Hello';\n  Hint := 'World';");
    window->Getstrings1Click();
    locate(0);
    commit("Hallo");

    EXPECT_EQ(line(5), "  Caption := 'Hallo';");
    QTextCursor probe(window->activeFileEditor()->document());
    probe.setPosition(window->activeFileEditor()->document()->findBlockByNumber(4).position() + 16);
    EXPECT_EQ(probe.charFormat().foreground().color(), app::state().settings.changedLook.color);
    EXPECT_EQ(probe.charFormat().fontUnderline(), app::state().settings.changedLook.underline);

    EXPECT_EQ(window->ListBox3->item(0)->text(), " Yes ");
    EXPECT_EQ(window->StringEdit->item(0)->text(), "    5   15   19  Hallo");
    ASSERT_EQ(loop->undoBuffer().count(), 1);
    EXPECT_EQ(loop->undoBuffer().at(0), makeUndoRecord(5, 15, "Hello", "Hallo"));
    Proposals dests;
    ASSERT_TRUE(DM().Table1.find("Hello", &dests));
    EXPECT_EQ(dests[0], "Hallo");
    EXPECT_EQ(window->StringEdit->currentRow(), 1);
    EXPECT_FALSE(app::state().ProjectSaved);
    EXPECT_EQ(window->Edit2->text(), "Hallo");

    // A second Enter without Locate writes nothing.
    commit("Nochmal");
    EXPECT_EQ(line(6), "  Hint := 'World';");
    EXPECT_EQ(loop->undoBuffer().count(), 1);
}

TEST_F(LoopTest, ApostropheIsDoubledInThePageAndKeptSingleInTheDictionary)
{
    page("  Caption := 'Its';");
    window->Getstrings1Click();
    locate(0);
    commit("It's");
    EXPECT_EQ(line(1), "  Caption := 'It''s';");
    EXPECT_EQ(window->StringEdit->item(0)->text(), "    1   15   17  It''s");
    Proposals dests;
    ASSERT_TRUE(DM().Table1.find("Its", &dests));
    EXPECT_EQ(dests[0], "It's");
    EXPECT_EQ(loop->undoBuffer().at(0).Length, 5);

    // Located again, the source reads as typed and F3 does not double twice.
    locate(0);
    EXPECT_EQ(selection().first, "It''s");
    EXPECT_EQ(window->Edit1->text(), "It's");
    QTest::keyClick(window->Edit2, Qt::Key_F3);
    EXPECT_EQ(window->Edit2->text(), "It's");
    commit(window->Edit2->text());
    EXPECT_EQ(line(1), "  Caption := 'It''s';");
}

TEST_F(LoopTest, CommitWithoutSelectionOrLocateChangesNothing)
{
    page("  a := 'one';");
    window->Getstrings1Click();
    commit("eins");
    window->StringEdit->setCurrentRow(0);
    commit("eins");
    EXPECT_EQ(line(1), "  a := 'one';");
    EXPECT_TRUE(app::state().ProjectSaved);
    EXPECT_TRUE(loop->undoBuffer().isEmpty());
    EXPECT_EQ(window->ListBox3->item(0)->text(), " No ");
    EXPECT_EQ(DM().Table1.count(), 0);

    // Locate, then choose another entry: the located literal is not written.
    locate(0);
    window->StringEdit->setCurrentRow(1);
    window->StringEdit->setCurrentRow(0);
    window->activeFileEditor()->moveCursor(QTextCursor::End);
    commit("eins");
    EXPECT_EQ(line(1), "  a := 'one';");
}

TEST_F(LoopTest, ProposalKeysAndWordButton)
{
    Dictionary& table = DM().Table1;
    for (const char* t : {"P1", "P2", "P3", "P4", "P5"})
        ASSERT_TRUE(table.store("File", t));
    page("  s := 'File';");
    window->Getstrings1Click();
    window->StringEdit->setCurrentRow(0);
    QTest::keyClick(window->StringEdit, Qt::Key_Return);
    EXPECT_EQ(window->Edit2->text(), "P1");

    QStringList seen;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(window->Edit2, Qt::Key_F2);
        seen << window->Edit2->text();
    }
    EXPECT_EQ(seen, QStringList({"P2", "P3", "P4", "P5", "P1"}));
    EXPECT_TRUE(window->proposalButtons[0]->isChecked());

    QStringList captions;
    seen.clear();
    for (int i = 0; i < 5; ++i) {
        window->SpeedButton19->click();
        captions << window->SpeedButton19->text();
        seen << window->Edit2->text();
    }
    EXPECT_EQ(captions, QStringList({"Word 2", "Word 3", "Word 4", "Word 5", "Word 1"}));
    EXPECT_EQ(seen, QStringList({"P2", "P3", "P4", "P5", "P1"}));

    window->proposalButtons[3]->click();
    EXPECT_EQ(window->Edit2->text(), "P4");
    QTest::keyClick(window->Edit2, Qt::Key_F3);
    EXPECT_EQ(window->Edit2->text(), "File");

    // A double click keeps the word counter; Enter resets it.
    window->SpeedButton19->click();
    emit window->StringEdit->itemDoubleClicked(window->StringEdit->item(0));
    EXPECT_EQ(window->SpeedButton19->text(), "Word 2");
    EXPECT_EQ(window->Edit2->text(), "P1");
    QTest::keyClick(window->StringEdit, Qt::Key_Enter);
    EXPECT_EQ(window->SpeedButton19->text(), "Word 1");
}

TEST_F(LoopTest, UndoFindsTheTranslationAfterTheLineChanged)
{
    page("x := 'a' + 'b';");
    window->Getstrings1Click();
    locate(1);
    commit("q");
    // An earlier literal of the line grows by hand after the commit.
    QTextCursor c(window->activeFileEditor()->document());
    c.setPosition(7);
    c.insertText("zzz");
    ASSERT_EQ(line(1), "x := 'azzz' + 'q';");

    window->SpeedButton1->click();
    EXPECT_EQ(line(1), "x := 'azzz' + 'b';");
    EXPECT_TRUE(loop->undoBuffer().isEmpty());
    // The list keeps the translation and its mark.
    EXPECT_EQ(window->ListBox3->item(1)->text(), " Yes ");

    window->SpeedButton1->click();
    EXPECT_EQ(ui->texts("message"), QStringList({"Empty undo buffer"}));
}

TEST_F(LoopTest, UndoRefusesWhenTheTranslationIsGone)
{
    page("x := 'a' + 'b';");
    window->Getstrings1Click();
    locate(0);
    commit("Hallo");
    window->activeFileEditor()->setPlainText("x := 'Hal' + 'b';");
    window->SpeedButton1->click();
    EXPECT_EQ(line(1), "x := 'Hal' + 'b';");
    EXPECT_EQ(loop->undoBuffer().count(), 1);
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message")[0].contains("Nothing was undone"));

    // Nor does it touch the project page.
    window->PageControl1->setCurrentWidget(window->MainTabSheet);
    window->MainRichEdit->setPlainText("x := 'Hallo';");
    window->SpeedButton1->click();
    EXPECT_EQ(window->MainRichEdit->toPlainText(), "x := 'Hallo';");
    EXPECT_EQ(loop->undoBuffer().count(), 1);
}

TEST_F(LoopTest, UndoWindowListsRecordsAndPlacesItselfBesideTheMainWindow)
{
    TUndoForm* form = loop->undoForm();
    EXPECT_EQ(form->windowTitle(), "UndoForm");
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form->StatusBar1->currentMessage(), "Empty undo pufer");
    QStringList headers;
    for (int i = 0; i < 4; ++i)
        headers << form->ListView1->headerItem()->text(i) + "/" + QString::number(form->ListView1->columnWidth(i));
    EXPECT_EQ(headers, QStringList({"Undo string/80", "Line/40", "Pos/40", "Length/52"}));

    page("  a := 'Hello'; b := 'World';");
    window->Getstrings1Click();
    locate(0);
    commit("Hallo");
    EXPECT_EQ(form->StatusBar1->currentMessage(), "1 string in undo puffer");
    locate(1);
    commit("Welt");
    EXPECT_EQ(form->StatusBar1->currentMessage(), "2 strings in undo puffer");
    ASSERT_EQ(form->ListView1->topLevelItemCount(), 2);
    const QTreeWidgetItem* newest = form->ListView1->topLevelItem(0);
    EXPECT_EQ(QStringList({newest->text(0), newest->text(1), newest->text(2), newest->text(3)}),
              QStringList({"World", "1", "23", "4"}));
    window->SpeedButton1->click();
    EXPECT_EQ(form->StatusBar1->currentMessage(), "1 strings in undo puffer");
    EXPECT_EQ(line(1), "  a := 'Hallo'; b := 'World';");

    window->show();
    const QRect before = window->geometry();
    window->Undoform1->trigger();
    EXPECT_TRUE(form->isVisible());
    const QRect area = form->screen()->availableGeometry();
    EXPECT_EQ(form->frameGeometry().topLeft(), area.topLeft());
    EXPECT_EQ(form->frameGeometry().height(), area.height());
    EXPECT_EQ(window->frameGeometry().left(), form->frameGeometry().right() + 1);
    EXPECT_EQ(window->frameGeometry().right(), area.right());
    window->Undoform1->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(window->geometry(), before);
    // The close box clears the check mark.
    window->Undoform1->trigger();
    form->close();
    EXPECT_FALSE(window->Undoform1->isChecked());
    EXPECT_EQ(window->geometry(), before);
}

TEST_F(LoopTest, EndLineFinishesThePageAndEmptiesTheUndoBuffer)
{
    page("  a := 'one';");
    QWidget* first = window->PageControl1->currentWidget();
    window->Getstrings1Click();
    locate(0);
    commit("eins");
    ASSERT_EQ(window->StringEdit->currentRow(), 1);
    loop->Commit();  // Enter in the input on the end line
    EXPECT_EQ(ui->texts("message"), QStringList({"The current file will saved and removed"}));
    EXPECT_EQ(window->PageControl1->indexOf(first), -1);
    EXPECT_TRUE(loop->undoBuffer().isEmpty());
    EXPECT_EQ(loop->undoForm()->StatusBar1->currentMessage(), "Empty undo puffer");
}

TEST_F(LoopTest, ChangedColumnFollowsTheStringListScroll)
{
    QStringList text;
    for (int i = 0; i < 300; ++i)
        text << QString("  s%1 := 'text %1';").arg(i);
    page(text.join('\n'));
    window->show();
    window->Getstrings1Click();
    QApplication::processEvents();
    window->StringEdit->verticalScrollBar()->setValue(120);
    EXPECT_EQ(window->ListBox3->verticalScrollBar()->value(), 120);
    window->StringEdit->setCurrentRow(299);
    QApplication::processEvents();
    EXPECT_GT(window->StringEdit->verticalScrollBar()->value(), 120);
    EXPECT_EQ(window->ListBox3->verticalScrollBar()->value(), window->StringEdit->verticalScrollBar()->value());
}

TEST_F(LoopTest, EditDatabaseShowsTheDictionaryWindowWithoutBlocking)
{
    window->Editdatabase1Click();
    TDataEditForm* editor = loop->dictionaryWindow();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(editor->isModal());
    EXPECT_EQ(editor->tableName(), "Words");
    window->Editdatabase1Click();
    EXPECT_TRUE(editor->isVisible());
    editor->close();
}

TEST_F(LoopTest, DictionaryOpeningAndTheWizardsTableHooks)
{
    app::state().project.DictionaryTable = "Missing";
    EXPECT_FALSE(window->openDictionary());
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_FALSE(DM().Table1.isOpen());

    EXPECT_EQ(window->Newpro->listTables(), QStringList({"Words"}));
    window->Newpro->Edit3->setText("English");
    window->Newpro->Edit4->setText("German");
    QString proposed;
    ui->dialogs.push_back([&](QDialog& d) {
        auto& dbank = static_cast<TDbank&>(d);
        proposed = dbank.nameEdit()->text();
        dbank.createButton()->click();
        return int(QDialog::Accepted);
    });
    window->Newpro->SpeedButton1Click();
    EXPECT_EQ(proposed, "English_German");
    EXPECT_EQ(window->Newpro->ComboBox1->currentText(), "English_German");
    EXPECT_EQ(listTables(), QStringList({"English_German", "Words"}));
}

} // namespace
