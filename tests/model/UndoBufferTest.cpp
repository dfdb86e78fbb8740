#include "model/UndoBuffer.h"

#include <gtest/gtest.h>

using namespace lingrove::model;

namespace {

UndoRecord record(int n)
{
    return makeUndoRecord(n, n + 1, QString("old %1").arg(n), QString("new %1").arg(n));
}

} // namespace

TEST(UndoBuffer, PushPopAndStatusTexts)
{
    UndoBuffer b;
    EXPECT_EQ(b.statusText(), "Empty undo pufer");
    EXPECT_FALSE(b.take());
    EXPECT_EQ(b.push(record(1)), 1);
    EXPECT_EQ(b.statusText(), "1 string in undo puffer");
    EXPECT_EQ(b.push(record(2)), 2);
    EXPECT_EQ(b.pop(), 1);
    EXPECT_EQ(b.statusText(), "1 strings in undo puffer");
    EXPECT_EQ(b.top(), record(1));
    EXPECT_EQ(b.take(), record(1));
    EXPECT_EQ(b.statusText(), "Empty undo puffer");
    EXPECT_EQ(b.pop(), 0);
    EXPECT_EQ(b.top(), UndoRecord{});
}

TEST(UndoBuffer, KeepsTheNewest256)
{
    UndoBuffer b;
    for (int i = 1; i <= 300; ++i)
        EXPECT_EQ(b.push(record(i)), std::min(i, 256));
    const auto all = b.records();
    ASSERT_EQ(all.size(), 256u);
    EXPECT_EQ(all.front(), record(300));
    EXPECT_EQ(all.back(), record(45));
    for (int i = 300; i >= 45; --i)
        ASSERT_EQ(b.take(), record(i));
    EXPECT_TRUE(b.isEmpty());

    b.push(record(1));
    b.clear();
    EXPECT_EQ(b.count(), 0);
    b.push(record(9));
    EXPECT_EQ(b.records(), std::vector<UndoRecord>{record(9)});
}

TEST(UndoTarget, FollowsALengthChangeEarlierOnTheLine)
{
    // Both literals were found at extraction: 'a' at 7, 'bb' at 13. The first
    // became 'xyz', then the second 'Zwei', recorded at its stale column 13.
    QString line = "s := 'xyz' + 'Zwei';";
    const UndoRecord second = makeUndoRecord(1, 13, "bb", "Zwei");
    EXPECT_EQ(findUndoTarget(line, second), 15);
    ASSERT_TRUE(applyUndo(line, second));
    EXPECT_EQ(line, "s := 'xyz' + 'bb';");
    ASSERT_TRUE(applyUndo(line, makeUndoRecord(1, 7, "a", "xyz")));
    EXPECT_EQ(line, "s := 'a' + 'bb';");

    // The nearest whole literal wins; 'ab' holds "b" only in part.
    EXPECT_EQ(findUndoTarget("f('ab', 'b', 'b');", makeUndoRecord(1, 14, "old", "b")), 15);
    EXPECT_EQ(findUndoTarget("f('ab', 'b', 'b');", makeUndoRecord(1, 1, "old", "b")), 10);

    // An empty translation, and apostrophes in one.
    line = "x := '';";
    ASSERT_TRUE(applyUndo(line, makeUndoRecord(1, 7, "Hi", QString())));
    EXPECT_EQ(line, "x := 'Hi';");
    line = "x := 'It's';";
    ASSERT_TRUE(applyUndo(line, makeUndoRecord(1, 7, "Its", "It's")));
    EXPECT_EQ(line, "x := 'Its';");
}

TEST(UndoTarget, RefusesWhenTheTranslationIsGone)
{
    for (const char* text : {"  Caption = 'Hallo Welt'", "  Caption = Hallo", "", "'Hallo"}) {
        QString line = text;
        EXPECT_FALSE(applyUndo(line, makeUndoRecord(5, 14, "Hello", "Hallo"))) << text;
        EXPECT_EQ(line, text);
    }
    // A record whose length disagrees with its text is never applied.
    UndoRecord bad = makeUndoRecord(1, 2, "x", "y");
    bad.length = 40;
    QString line = "'y' and much more text after it";
    EXPECT_FALSE(applyUndo(line, bad));
}
