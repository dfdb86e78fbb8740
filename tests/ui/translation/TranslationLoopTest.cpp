// The translation loop in the window: the string list and its Changed
// column, Enter in the list and in the input, the proposal keys and buttons,
// UNDO and the undo window, the end line, the dictionary window.
#include "LoopFixture.h"

#include "ui/translation/DictionaryWindow.h"
#include "ui/translation/UndoWindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

namespace {

using lingrove::testing::LoopTest;
using lingrove::testing::readBytes;

const QString kEnd = "[++++ End of the list ++++]";
const QString kLocateFirst = "Press Enter on the entry in the string list to locate it first.";

TEST_F(LoopTest, GetStringsShowsTheEntriesTheChangedColumnAndTheEndLine)
{
    page("a := 'one';\nb := 'two'; c := 'three';\n// none\nd := 'four' + 'five';\n");
    loop().getStringsAction()->trigger();
    EXPECT_EQ(rows(loop().entryView()),
              QStringList({"    1    7    9  one", "    2    7    9  two", "    2   19   23  three",
                           "    4    7   10  four", "    4   16   19  five", kEnd}));
    EXPECT_EQ(rows(loop().changedView()), QStringList({" No ", " No ", " No ", " No ", " No ", "****"}));
    EXPECT_TRUE(loop().listPanel()->isVisibleTo(&window()));
    EXPECT_EQ(loop().selectedRow(), -1);

    // A page without entries shows just the end line, never the entries of
    // the page collected before; so does the project page.
    page("begin end.", "unit2.pas");
    loop().collect();
    EXPECT_EQ(rows(loop().entryView()), QStringList({kEnd}));
    EXPECT_EQ(rows(loop().changedView()), QStringList({"****"}));

    pages().showProjectPage();
    loop().collect();
    EXPECT_EQ(rows(loop().entryView()), QStringList({kEnd}));

    // Enter on that end line on the project page does nothing.
    locate(0);
    loop().commit();
    EXPECT_TRUE(ui->shown.empty()) << ui->texts().join("\n").toStdString();
    EXPECT_EQ(pages().tabs()->count(), 3);
}

TEST_F(LoopTest, EnterInTheListSelectsTheLiteralAndShowsTheFirstProposal)
{
    ASSERT_TRUE(dictionary().store("&Hello", "Hallo"));
    QStringList text;
    for (int i = 1; i <= 45; ++i)
        text << (i == 12 || i == 40 ? "  s := 'He&llo';" : "  // line");
    page(text.join('\n'));
    loop().collect();
    ASSERT_EQ(loop().session().list().rowCount(), 3);

    select(1);
    QTest::keyClick(loop().entryView(), Qt::Key_Return);
    EXPECT_EQ(selection(), qMakePair(QString("He&llo"), 40));
    EXPECT_EQ(bar().sourceField()->text(), "He&llo");
    EXPECT_EQ(bar().translationField()->text(), "Hallo");
    EXPECT_EQ(bar().translationField()->selectedText(), "Hallo");
    EXPECT_TRUE(bar().proposalButton(0)->isChecked());
    // The caret position under the pages follows.
    EXPECT_EQ(pages().positionLabel()->text(), "  40 : 9");

    // A double click locates too.
    const QModelIndex first = loop().entryView()->model()->index(0, loop().entryView()->modelColumn());
    loop().entryView()->setCurrentIndex(first);
    emit loop().entryView()->doubleClicked(first);
    EXPECT_EQ(selection(), qMakePair(QString("He&llo"), 12));
}

TEST_F(LoopTest, EnterInTheInputWritesTheTranslationMarksItLearnsItAndMovesOn)
{
    page("unit u;\n\n\n\n  Caption := 'Hello';\n  Hint := 'World';");
    loop().collect();
    locate(0);
    commit("Hallo");

    EXPECT_EQ(line(5), "  Caption := 'Hallo';");
    EXPECT_EQ(rows(loop().changedView())[0], " Yes ");
    EXPECT_EQ(rows(loop().entryView())[0], "    5   15   19  Hallo");
    EXPECT_EQ(loop().selectedRow(), 1);
    EXPECT_EQ(bar().translationField()->text(), "Hallo");
    EXPECT_FALSE(workspace().isProjectSaved());
    lingrove::model::Proposals dests;
    ASSERT_TRUE(dictionary().find("Hello", &dests));
    EXPECT_EQ(dests[0], "Hallo");
    EXPECT_EQ(loop().session().undoBuffer().count(), 1);

    // A second Enter without Locate writes nothing and says why.
    commit("Nochmal");
    EXPECT_EQ(line(6), "  Hint := 'World';");
    EXPECT_EQ(loop().session().undoBuffer().count(), 1);
    EXPECT_EQ(window().statusBar()->currentMessage(), kLocateFirst);
}

TEST_F(LoopTest, CommitWithoutLocatingTheSelectedEntryChangesNothing)
{
    page("  a := 'one'; b := 'two';");
    loop().collect();
    commit("eins");   // no entry selected
    select(0);
    commit("eins");   // selected, not located
    EXPECT_EQ(window().statusBar()->currentMessage(), kLocateFirst);

    // Located, then another entry chosen and this one again, the caret moved.
    locate(0);
    select(1);
    select(0);
    pages().activeFileEditor()->moveCursor(QTextCursor::End);
    commit("eins");
    // Located, then another entry chosen.
    locate(0);
    select(1);
    commit("zwei");

    EXPECT_EQ(line(1), "  a := 'one'; b := 'two';");
    EXPECT_TRUE(workspace().isProjectSaved());
    EXPECT_TRUE(loop().session().undoBuffer().isEmpty());
    EXPECT_EQ(rows(loop().changedView()), QStringList({" No ", " No ", "****"}));
    EXPECT_EQ(dictionary().count(), 0);
}

TEST_F(LoopTest, ProposalKeysAndWordButton)
{
    for (const char* t : {"P1", "P2", "P3", "P4", "P5"})
        ASSERT_TRUE(dictionary().store("File", t));
    page("  s := 'File';");
    loop().collect();
    select(0);
    QTest::keyClick(loop().entryView(), Qt::Key_Return);
    EXPECT_EQ(bar().translationField()->text(), "P1");

    QStringList seen;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(bar().translationField(), Qt::Key_F2);
        seen << bar().translationField()->text();
    }
    EXPECT_EQ(seen, QStringList({"P2", "P3", "P4", "P5", "P1"}));
    EXPECT_TRUE(bar().proposalButton(0)->isChecked());

    QStringList captions;
    seen.clear();
    for (int i = 0; i < 5; ++i) {
        bar().wordButton()->click();
        captions << bar().wordButton()->text();
        seen << bar().translationField()->text();
    }
    EXPECT_EQ(captions, QStringList({"Word 2", "Word 3", "Word 4", "Word 5", "Word 1"}));
    EXPECT_EQ(seen, QStringList({"P2", "P3", "P4", "P5", "P1"}));

    bar().proposalButton(3)->click();
    EXPECT_EQ(bar().translationField()->text(), "P4");
    EXPECT_TRUE(bar().proposalButton(3)->isChecked());
    QTest::keyClick(bar().translationField(), Qt::Key_F3);
    EXPECT_EQ(bar().translationField()->text(), "File");

    // A double click keeps the word counter; Enter starts it again.
    bar().wordButton()->click();
    const QModelIndex entry = loop().entryView()->currentIndex();
    emit loop().entryView()->doubleClicked(entry);
    EXPECT_EQ(bar().wordButton()->text(), "Word 2");
    EXPECT_EQ(bar().translationField()->text(), "P1");
    QTest::keyClick(loop().entryView(), Qt::Key_Enter);
    EXPECT_EQ(bar().wordButton()->text(), "Word 1");
}

TEST_F(LoopTest, UndoPutsTheSourceBackOrSaysWhyNot)
{
    page("x := 'a' + 'b';");
    loop().collect();
    locate(1);
    commit("q");
    locate(0);
    commit("Hallo");
    ASSERT_EQ(line(1), "x := 'Hallo' + 'q';");

    // Not on the project page.
    pages().showProjectPage();
    bar().undoButton()->click();
    ASSERT_EQ(ui->texts("message").size(), 1);
    EXPECT_TRUE(ui->texts("message")[0].contains("Nothing was undone")) << ui->texts("message")[0].toStdString();
    EXPECT_EQ(loop().session().undoBuffer().count(), 2);

    // Nor when the translation is gone from its line.
    pages().tabs()->setCurrentIndex(1);
    QTextCursor c = pages().activeFileEditor()->document()->find("Hallo");
    c.insertText("Hal");
    bar().undoButton()->click();
    ASSERT_EQ(ui->texts("message").size(), 2);
    EXPECT_TRUE(ui->texts("message")[1].contains("'Hallo' is not on line 1")) << ui->texts("message")[1].toStdString();
    EXPECT_EQ(line(1), "x := 'Hal' + 'q';");
    EXPECT_EQ(loop().session().undoBuffer().count(), 2);

    // The newest record goes once it is there again; then the older one.
    c = pages().activeFileEditor()->document()->find("Hal");
    c.insertText("Hallo");
    bar().undoButton()->click();
    bar().undoButton()->click();
    EXPECT_EQ(line(1), "x := 'a' + 'b';");
    EXPECT_TRUE(loop().session().undoBuffer().isEmpty());
    // The entries show their old texts again, unmarked.
    EXPECT_EQ(rows(loop().changedView()), QStringList({" No ", " No ", "****"}));
    EXPECT_EQ(rows(loop().entryView()).mid(0, 2), QStringList({"    1    7    7  a", "    1   13   13  b"}));

    ui->clear();
    bar().undoButton()->click();
    EXPECT_EQ(ui->texts("message"), QStringList({"Empty undo buffer"}));
}

TEST_F(LoopTest, UndoWindowListsTheRecordsAndStandsBesideTheMainWindow)
{
    lingrove::ui::UndoWindow* undo = loop().undoWindow();
    EXPECT_EQ(undo->statusBar()->currentMessage(), "Empty undo pufer");

    page("  a := 'Hello'; b := 'World';");
    loop().collect();
    locate(0);
    commit("Hallo");
    EXPECT_EQ(undo->statusBar()->currentMessage(), "1 string in undo puffer");
    locate(1);
    commit("Welt");
    EXPECT_EQ(undo->statusBar()->currentMessage(), "2 strings in undo puffer");
    ASSERT_EQ(undo->list()->topLevelItemCount(), 2);
    const QTreeWidgetItem* newest = undo->list()->topLevelItem(0);
    EXPECT_EQ(QStringList({newest->text(0), newest->text(1), newest->text(2), newest->text(3)}),
              QStringList({"World", "1", "23", "4"}));
    bar().undoButton()->click();
    EXPECT_EQ(undo->statusBar()->currentMessage(), "1 strings in undo puffer");
    EXPECT_EQ(undo->list()->topLevelItemCount(), 1);

    QAction* toggle = loop().undoWindowAction();
    window().show();
    const QRect before = window().geometry();
    toggle->trigger();
    EXPECT_TRUE(undo->isVisible());
    const QRect area = undo->screen()->availableGeometry();
    EXPECT_EQ(undo->frameGeometry().topLeft(), area.topLeft());
    EXPECT_EQ(undo->frameGeometry().height(), area.height());
    EXPECT_EQ(window().frameGeometry().left(), undo->frameGeometry().right() + 1);
    EXPECT_EQ(window().frameGeometry().right(), area.right());
    toggle->trigger();
    EXPECT_FALSE(undo->isVisible());
    EXPECT_EQ(window().geometry(), before);
    // The close box clears the check mark.
    toggle->trigger();
    undo->close();
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_EQ(window().geometry(), before);
}

TEST_F(LoopTest, EndLineSavesAndClosesThePageAndMovesToTheNextOne)
{
    page("  b := 'two';", "unit2.pas");
    QWidget* second = pages().tabs()->currentWidget();
    page("  a := 'one';");
    QWidget* first = pages().tabs()->currentWidget();
    loop().collect();
    locate(0);
    commit("eins");
    ASSERT_EQ(loop().selectedRow(), 1);
    loop().commit();   // Enter in the input on the end line

    EXPECT_EQ(ui->texts("message"), QStringList({"The current file will saved and removed"}));
    EXPECT_EQ(pages().tabs()->indexOf(first), -1);
    EXPECT_EQ(readBytes(project + "/unit1.pas"), "  a := 'eins';");
    EXPECT_TRUE(loop().session().undoBuffer().isEmpty());
    EXPECT_EQ(loop().undoWindow()->statusBar()->currentMessage(), "Empty undo puffer");
    EXPECT_TRUE(bar().sourceField()->text().isEmpty());
    EXPECT_TRUE(bar().translationField()->text().isEmpty());
    // The last page comes to the front with its strings.
    EXPECT_EQ(pages().tabs()->currentWidget(), second);
    EXPECT_EQ(rows(loop().entryView()), QStringList({"    1    9   11  two", kEnd}));

    // Enter in the list on the end line finishes that page too.
    select(1);
    QTest::keyClick(loop().entryView(), Qt::Key_Return);
    EXPECT_EQ(captions(), QStringList({"Test.dpr"}));
    EXPECT_EQ(rows(loop().entryView()), QStringList({kEnd}));
}

TEST_F(LoopTest, APageThatCannotBeSavedStaysWithItsListAndUndoRecords)
{
    page("  a := 'one';");
    loop().collect();
    locate(0);
    commit(QString::fromUtf8("Ω"));
    loop().commit();   // the end line
    EXPECT_EQ(captions(), QStringList({"Test.dpr", "unit1.pas"}));
    EXPECT_EQ(loop().session().undoBuffer().count(), 1);
    EXPECT_EQ(rows(loop().changedView()), QStringList({" Yes ", "****"}));
    EXPECT_EQ(readBytes(project + "/unit1.pas"), "  a := 'one';");
}

TEST_F(LoopTest, ChangedColumnFollowsTheStringListScroll)
{
    QStringList text;
    for (int i = 0; i < 300; ++i)
        text << QString("  s%1 := 'text %1';").arg(i);
    page(text.join('\n'));
    window().show();
    loop().collect();
    QApplication::processEvents();
    QScrollBar* list = loop().entryView()->verticalScrollBar();
    QScrollBar* changed = loop().changedView()->verticalScrollBar();
    list->setValue(120);
    EXPECT_EQ(changed->value(), 120);
    select(299);
    QApplication::processEvents();
    EXPECT_GT(list->value(), 120);
    EXPECT_EQ(changed->value(), list->value());
}

TEST_F(LoopTest, EditDatabaseShowsTheDictionaryWindowWithoutBlocking)
{
    loop().editDictionaryAction()->trigger();
    lingrove::ui::DictionaryWindow* editor = loop().dictionaryWindow();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(editor->isModal());
    EXPECT_EQ(editor->tableName(), "Words");
    loop().editDictionaryAction()->trigger();
    EXPECT_TRUE(editor->isVisible());
    editor->close();
}

} // namespace
