#include "model/UndoBuffer.h"

#include <gtest/gtest.h>

using namespace lingrove::model;

namespace {

UndoRecord record(int n)
{
    return makeUndoRecord(n, n + 1, QStringLiteral("old %1").arg(n), QStringLiteral("new %1").arg(n));
}

} // namespace

TEST(UndoBuffer, PushPopAndStatusTexts)
{
    UndoBuffer b;
    EXPECT_EQ(b.statusText(), QStringLiteral("Empty undo pufer"));
    EXPECT_FALSE(b.take());

    const UndoRecord hello = makeUndoRecord(5, 14, QStringLiteral("Hello"), QStringLiteral("Hallo"));
    EXPECT_EQ(hello.length, 5);
    EXPECT_EQ(b.push(hello), 1);
    EXPECT_EQ(b.statusText(), QStringLiteral("1 string in undo puffer"));
    EXPECT_EQ(b.top(), hello);

    EXPECT_EQ(b.push(record(1)), 2);
    EXPECT_EQ(b.statusText(), QStringLiteral("2 strings in undo puffer"));
    EXPECT_EQ(b.pop(), 1);
    EXPECT_EQ(b.statusText(), QStringLiteral("1 strings in undo puffer"));
    EXPECT_EQ(b.top(), hello);

    const auto taken = b.take();
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, hello);
    EXPECT_EQ(b.count(), 0);
    EXPECT_EQ(b.statusText(), QStringLiteral("Empty undo puffer"));
    EXPECT_EQ(b.pop(), 0);
    EXPECT_EQ(b.top(), UndoRecord{});
}

TEST(UndoBuffer, KeepsTheNewest256)
{
    UndoBuffer b;
    for (int i = 1; i <= 300; ++i)
        EXPECT_EQ(b.push(record(i)), std::min(i, 256));
    EXPECT_EQ(b.statusText(), QStringLiteral("256 strings in undo puffer"));
    const auto all = b.records();
    ASSERT_EQ(all.size(), 256u);
    EXPECT_EQ(all.front(), record(300));
    EXPECT_EQ(all.back(), record(45));
    for (int i = 300; i >= 45; --i)
        ASSERT_EQ(b.take(), record(i));
    EXPECT_TRUE(b.isEmpty());

    for (int i = 1; i <= 3; ++i)
        b.push(record(i));
    b.clear();
    EXPECT_EQ(b.count(), 0);
    EXPECT_EQ(b.statusText(), QStringLiteral("Empty undo puffer"));
    b.push(record(9));
    EXPECT_EQ(b.records(), std::vector<UndoRecord>{record(9)});
}

TEST(UndoTarget, FollowsALengthChangeEarlierOnTheLine)
{
    // Both literals were found at extraction: 'a' at 7, 'bb' at 13. The first
    // became 'xyz', then the second 'Zwei', recorded at its stale column 13.
    QString line = QStringLiteral("s := 'xyz' + 'Zwei';");
    const UndoRecord second = makeUndoRecord(1, 13, QStringLiteral("bb"), QStringLiteral("Zwei"));
    EXPECT_EQ(findUndoTarget(line, second), 15);
    ASSERT_TRUE(applyUndo(line, second));
    EXPECT_EQ(line, QStringLiteral("s := 'xyz' + 'bb';"));
    ASSERT_TRUE(applyUndo(line, makeUndoRecord(1, 7, QStringLiteral("a"), QStringLiteral("xyz"))));
    EXPECT_EQ(line, QStringLiteral("s := 'a' + 'bb';"));
}

TEST(UndoTarget, NearestOccurrenceWinsAndPartialMatchesDoNot)
{
    QString line = QStringLiteral("f('ab', 'b', 'b');");
    const UndoRecord r = makeUndoRecord(1, 14, QStringLiteral("old"), QStringLiteral("b"));
    EXPECT_EQ(findUndoTarget(line, r), 15);
    EXPECT_EQ(findUndoTarget(line, makeUndoRecord(1, 1, QStringLiteral("old"), QStringLiteral("b"))), 10);
}

TEST(UndoTarget, RefusesWhenTheTranslationIsGone)
{
    for (const char* text : {"  Caption = 'Hallo Welt'", "  Caption = Hallo", "", "'Hallo"}) {
        QString line = QString::fromLatin1(text);
        const QString before = line;
        const UndoRecord r = makeUndoRecord(5, 14, QStringLiteral("Hello"), QStringLiteral("Hallo"));
        EXPECT_FALSE(applyUndo(line, r)) << text;
        EXPECT_EQ(line, before);
    }
    // A record whose length disagrees with its text is never applied.
    UndoRecord bad = makeUndoRecord(1, 2, QStringLiteral("x"), QStringLiteral("y"));
    bad.length = 40;
    QString line = QStringLiteral("'y' and much more text after it");
    EXPECT_FALSE(applyUndo(line, bad));
}

TEST(UndoTarget, EmptyTranslationAndApostrophesInIt)
{
    QString line = QStringLiteral("x := '';");
    ASSERT_TRUE(applyUndo(line, makeUndoRecord(1, 7, QStringLiteral("Hi"), QString())));
    EXPECT_EQ(line, QStringLiteral("x := 'Hi';"));
    line = QStringLiteral("x := 'It's';");
    ASSERT_TRUE(applyUndo(line, makeUndoRecord(1, 7, QStringLiteral("Its"), QStringLiteral("It's"))));
    EXPECT_EQ(line, QStringLiteral("x := 'Its';"));
}
