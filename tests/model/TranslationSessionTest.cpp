// The translation loop on a text document: Get strings, Locate, Commit and
// undo, without a window.
#include "DictionaryFixture.h"

#include "model/TranslationSession.h"
#include "model/Workspace.h"

#include <QTextBlock>
#include <QTextDocument>

#include <memory>

using namespace lingrove::model;
using lingrove::model::testing::DictionaryFolderTest;

namespace {

const QString kEnd = "[++++ End of the list ++++]";

class SessionTest : public DictionaryFolderTest {
protected:
    void SetUp() override
    {
        DictionaryFolderTest::SetUp();
        makeTable("Words");
        workspace = std::make_unique<Workspace>();
        QString error;
        ASSERT_TRUE(workspace->dictionary().open("Words", &error)) << error.toStdString();
        session = std::make_unique<TranslationSession>(*workspace);
    }
    void TearDown() override
    {
        session.reset();
        workspace.reset();
        DictionaryFolderTest::TearDown();
    }

    void page(const QString& text) { doc.setPlainText(text); }
    QString line(int n) const { return doc.findBlockByNumber(n - 1).text(); }

    QStringList column(bool changed) const
    {
        QStringList out;
        const StringListModel& list = session->list();
        for (int row = 0; row < list.rowCount(); ++row)
            out << (changed ? list.changedMark(row) : list.entryLine(row));
        return out;
    }

    // Locates row and returns a cursor that selects the located literal, as
    // the page's caret does after Locate.
    QTextCursor locate(int row)
    {
        const auto at = session->locate(&doc, row);
        EXPECT_TRUE(at) << "row " << row;
        QTextCursor c(&doc);
        if (at) {
            c.setPosition(at->start);
            c.setPosition(at->start + at->length, QTextCursor::KeepAnchor);
        }
        return c;
    }
    bool commit(int row, const QString& typed) { return session->commit(row, typed, locate(row)).has_value(); }

    QTextCharFormat formatAt(int line, int column)
    {
        QTextCursor probe(&doc);
        probe.setPosition(doc.findBlockByNumber(line - 1).position() + column);
        return probe.charFormat();
    }

    QTextDocument doc;
    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<TranslationSession> session;
};

TEST(Quoting, ApostrophesDoubledAndBack)
{
    EXPECT_EQ(pascalQuoted("It's 'x'"), "It''s ''x''");
    EXPECT_EQ(pascalUnquoted("It''s ''x''"), "It's 'x'");
    EXPECT_EQ(pascalUnquoted(pascalQuoted("a'''b")), "a'''b");
}

TEST_F(SessionTest, CollectListsTheLiteralsAndMarksTheTranslatedOnes)
{
    EXPECT_EQ(session->list().rowCount(), 0);
    page("a := 'one';\nb := 'two'; c := 'three';\n// none\nd := 'four' + 'five';\n");
    // The marks belong to the entries (page, line, text), not to positions
    // in the list: an entry before them or a split does not move them.
    workspace->project().translated.add("unit1.pas", 2, "three");
    workspace->project().translated.add("unit1.pas", 4, "five");
    workspace->project().translated.add("other.pas", 1, "one");
    session->collect(&doc, "unit1.pas");
    EXPECT_EQ(column(false), QStringList({"    1    7    9  one", "    2    7    9  two", "    2   19   23  three",
                                          "    4    7   10  four", "    4   16   19  five", kEnd}));
    EXPECT_EQ(column(true), QStringList({" No ", " No ", " Yes ", " No ", " Yes ", "****"}));

    session->collect(&doc, "other.pas");
    EXPECT_EQ(column(true), QStringList({" Yes ", " No ", " No ", " No ", " No ", "****"}));

    // A page without literals and the project page (no document): only the end line.
    page("begin end.");
    session->collect(&doc);
    EXPECT_EQ(column(false), QStringList({kEnd}));
    session->collect(nullptr);
    EXPECT_EQ(column(true), QStringList({"****"}));
    EXPECT_FALSE(session->locate(&doc, 0));

    session->clear();
    EXPECT_EQ(session->list().rowCount(), 0);
}

TEST_F(SessionTest, CharactersOutsideWindows1252KeepTheirPlaceAndText)
{
    page(QString::fromUtf8("  s := '\xce\xa9mega';  t := 'Gr\xc3\xbc\xc3\x9f';  u := '\xf0\x9f\x98\x80!'"));
    session->collect(&doc);
    EXPECT_EQ(column(false), QStringList({QString::fromUtf8("    1    9   13  \xce\xa9mega"),
                                          QString::fromUtf8("    1   24   27  Gr\xc3\xbc\xc3\x9f"),
                                          QString::fromUtf8("    1   38   40  \xf0\x9f\x98\x80!"), kEnd}));
    ASSERT_TRUE(commit(2, "Smile"));
    ASSERT_TRUE(commit(0, QString::fromUtf8("\xce\xa9")));
    EXPECT_EQ(line(1), QString::fromUtf8("  s := '\xce\xa9';  t := 'Gr\xc3\xbc\xc3\x9f';  u := 'Smile'"));
}

TEST_F(SessionTest, LocateSearchesFromTheEntrysLineAndLooksUpTheSource)
{
    ASSERT_TRUE(workspace->dictionary().store("&Hello", "Hallo"));
    QStringList text;
    for (int i = 1; i <= 45; ++i)
        text << (i == 12 || i == 40 ? "  s := 'He&llo';" : "  // line");
    page(text.join(u'\n'));
    session->collect(&doc);
    ASSERT_EQ(session->list().entryCount(), 2);

    const auto at = session->locate(&doc, 1);
    ASSERT_TRUE(at);
    EXPECT_EQ(at->line, 40);
    EXPECT_EQ(at->column, 9);
    EXPECT_EQ(at->content, "He&llo");
    EXPECT_EQ(session->source(), "He&llo");
    EXPECT_EQ(session->proposals()[0], "Hallo");
    const TextLook& selected = workspace->settings().selectedLook;
    EXPECT_EQ(formatAt(40, 9).foreground().color(), selected.color);
    EXPECT_EQ(formatAt(40, 9).fontStrikeOut(), selected.strikeOut);
    EXPECT_NE(formatAt(12, 9).foreground().color(), selected.color);

    EXPECT_EQ(session->locate(&doc, 0)->line, 12);
    EXPECT_FALSE(session->locate(&doc, 2));   // the end line
}

TEST_F(SessionTest, FirstEntryIsSearchedFromLineOne)
{
    page("// a\n// b\ns := 'One';\nt := 'Two';");
    session->collect(&doc);
    // Two lines above the literals go after Get strings.
    QTextCursor c(&doc);
    c.setPosition(doc.findBlockByNumber(2).position(), QTextCursor::KeepAnchor);
    c.removeSelectedText();
    ASSERT_EQ(line(1), "s := 'One';");

    const auto first = session->locate(&doc, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->line, 1);
    // Any other entry only from its own line on: above it is not looked at.
    EXPECT_FALSE(session->locate(&doc, 1));
    EXPECT_EQ(session->located()->row, 0);
}

TEST_F(SessionTest, CommitWritesTheLocatedLiteralMarksRecordsAndLearns)
{
    page("unit u;\n\n\n\n  Caption := 'Hello';\n  Hint := 'World';");
    session->collect(&doc);
    const auto done = session->commit(0, "Hallo", locate(0));
    ASSERT_TRUE(done);
    EXPECT_EQ(done->written.position(), doc.findBlockByNumber(4).position() + 19);
    EXPECT_FALSE(done->written.hasSelection());
    EXPECT_TRUE(done->storeError.isEmpty());

    EXPECT_EQ(line(5), "  Caption := 'Hallo';");
    EXPECT_EQ(line(6), "  Hint := 'World';");
    const TextLook& changed = workspace->settings().changedLook;
    EXPECT_EQ(formatAt(5, 16).foreground().color(), changed.color);
    EXPECT_EQ(formatAt(5, 16).fontUnderline(), changed.underline);
    EXPECT_NE(formatAt(5, 21).foreground().color(), changed.color);   // the closing apostrophe

    EXPECT_EQ(session->list().changedMark(0), " Yes ");
    EXPECT_EQ(session->list().entryLine(0), "    5   15   19  Hallo");
    ASSERT_EQ(session->undoBuffer().count(), 1);
    EXPECT_EQ(session->undoBuffer().at(0), makeUndoRecord(5, 15, "Hello", "Hallo"));
    Proposals dests;
    ASSERT_TRUE(workspace->dictionary().find("Hello", &dests));
    EXPECT_EQ(dests[0], "Hallo");
    EXPECT_FALSE(workspace->isProjectSaved());

    // The commit used up the location: a second one writes nothing.
    EXPECT_FALSE(session->located());
    EXPECT_FALSE(session->commit(0, "Nochmal", done->written));
    EXPECT_EQ(line(5), "  Caption := 'Hallo';");
    EXPECT_EQ(session->undoBuffer().count(), 1);
}

TEST_F(SessionTest, RepeatedLiteralsOfOneLine)
{
    page("x := 'a' + 'a';");
    session->collect(&doc);
    // Both entries find the first 'a' until it is translated.
    EXPECT_EQ(session->locate(&doc, 1)->start, 6);
    ASSERT_TRUE(commit(0, "bb"));
    EXPECT_EQ(line(1), "x := 'bb' + 'a';");
    EXPECT_EQ(session->locate(&doc, 1)->start, 13);
    // A translated entry is found again by its translation.
    EXPECT_EQ(session->locate(&doc, 0)->content, "bb");
}

TEST_F(SessionTest, ApostropheIsDoubledInThePageAndSingleInTheDictionary)
{
    page("  Caption := 'Its';");
    session->collect(&doc);
    ASSERT_TRUE(commit(0, "It's"));
    EXPECT_EQ(line(1), "  Caption := 'It''s';");
    EXPECT_EQ(session->list().entryLine(0), "    1   15   17  It''s");
    EXPECT_EQ(session->undoBuffer().at(0).length, 5);
    Proposals dests;
    ASSERT_TRUE(workspace->dictionary().find("Its", &dests));
    EXPECT_EQ(dests[0], "It's");

    // Located again, the source reads as typed; committing it unchanged
    // does not double the apostrophe twice.
    const QTextCursor c = locate(0);
    EXPECT_EQ(c.selectedText(), "It''s");
    EXPECT_EQ(session->source(), "It's");
    ASSERT_TRUE(session->commit(0, session->source(), c));
    EXPECT_EQ(line(1), "  Caption := 'It''s';");
}

TEST_F(SessionTest, CommitIsRefusedUnlessTheLocatedLiteralIsStillSelected)
{
    page("  a := 'one';");
    QTextDocument other;
    other.setPlainText(doc.toPlainText());
    session->collect(&doc);
    // Not located yet.
    EXPECT_FALSE(session->commit(0, "eins", QTextCursor(&doc)));

    QTextCursor c = locate(0);
    EXPECT_TRUE(session->isLocated(&doc, 0, c));
    // Another row, the end line, a moved caret, the same place on another page.
    EXPECT_FALSE(session->commit(1, "eins", c));
    QTextCursor moved = c;
    moved.movePosition(QTextCursor::End);
    EXPECT_FALSE(session->commit(0, "eins", moved));
    QTextCursor elsewhere(&other);
    elsewhere.setPosition(c.selectionStart());
    elsewhere.setPosition(c.selectionEnd(), QTextCursor::KeepAnchor);
    ASSERT_EQ(elsewhere.selectedText(), c.selectedText());
    EXPECT_FALSE(session->commit(0, "eins", elsewhere));
    // The literal was edited by hand under the selection.
    QTextCursor typing(&doc);
    typing.setPosition(c.selectionStart() + 1);
    typing.setPosition(c.selectionStart() + 2, QTextCursor::KeepAnchor);
    typing.insertText("N");
    ASSERT_EQ(line(1), "  a := 'oNe';");
    EXPECT_FALSE(session->commit(0, "eins", c));

    EXPECT_EQ(line(1), "  a := 'oNe';");
    EXPECT_EQ(other.toPlainText(), "  a := 'one';");
    EXPECT_TRUE(workspace->isProjectSaved());
    EXPECT_TRUE(session->undoBuffer().isEmpty());
    EXPECT_EQ(session->list().changedMark(0), " No ");
    EXPECT_EQ(workspace->dictionary().count(), 0);
}

TEST_F(SessionTest, UndoFindsTheTranslationAfterTheLineChanged)
{
    page("x := 'a' + 'b';");
    session->collect(&doc);
    ASSERT_TRUE(commit(1, "q"));
    // An earlier literal of the line grows by hand after the commit.
    QTextCursor c(&doc);
    c.setPosition(7);
    c.insertText("zzz");
    ASSERT_EQ(line(1), "x := 'azzz' + 'q';");

    EXPECT_EQ(session->undo(&doc), std::nullopt);
    EXPECT_EQ(line(1), "x := 'azzz' + 'b';");
    EXPECT_TRUE(session->undoBuffer().isEmpty());
    // The entry shows its old text again, unmarked, so the loop goes on with it.
    EXPECT_EQ(session->list().entry(1)->text, "b");
    EXPECT_EQ(session->list().changedMark(1), " No ");
    EXPECT_TRUE(workspace->project().translated.isEmpty());
    EXPECT_EQ(locate(1).selectedText(), "b");

    EXPECT_EQ(session->undo(&doc), "Empty undo buffer");
}

TEST_F(SessionTest, UndoRefusesWhenTheTranslationIsGone)
{
    page("x := 'a' + 'b';");
    session->collect(&doc);
    ASSERT_TRUE(commit(0, "Hallo"));

    // The project page holds no translation.
    const auto onProjectPage = session->undo(nullptr);
    ASSERT_TRUE(onProjectPage);
    EXPECT_TRUE(onProjectPage->contains("Nothing was undone"));

    page("x := 'Hal' + 'b';");
    const auto gone = session->undo(&doc);
    ASSERT_TRUE(gone);
    EXPECT_TRUE(gone->contains("Nothing was undone"));
    EXPECT_EQ(line(1), "x := 'Hal' + 'b';");
    EXPECT_EQ(session->undoBuffer().count(), 1);
}

} // namespace
