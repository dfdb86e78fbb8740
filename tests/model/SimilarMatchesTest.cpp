// Similar matches: the similarity measure, the trigram index beside the
// table and what it proposes for the slots exact matches leave free.
#include "DictionaryFixture.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

// Texts in failure messages as text.
static void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace lingrove::model {
static void PrintTo(const SimilarMatch& m, std::ostream* os)
{
    *os << '{' << m.source.toStdString() << " -> " << m.translation.toStdString() << ", " << m.similarity << "%}";
}
} // namespace lingrove::model

using namespace lingrove::model;
using lingrove::model::testing::DictionaryFolderTest;
using lingrove::model::testing::str;

namespace {

// Runs statements on a table file through a connection of its own; the
// first column of the last one's rows.
QStringList raw(const QString& path, const QStringList& statements)
{
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "raw");
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        for (const QString& sql : statements) {
            QSqlQuery q(db);
            EXPECT_TRUE(q.exec(sql)) << str(sql) << ": " << str(q.lastError().text());
            out.clear();
            while (q.next())
                out << q.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase("raw");
    return out;
}

std::optional<int> sim(const QString& a, const QString& b)
{
    return similarity(a, b);
}

TEST(Similarity, EditDistanceAgainstTheLongerTextRoundedDown)
{
    EXPECT_EQ(editDistance(U"kitten", U"sitting", 10), 3);
    EXPECT_EQ(editDistance(U"", U"abc", 3), 3);
    EXPECT_EQ(editDistance(U"abc", U"abc", 0), 0);
    EXPECT_EQ(editDistance(U"kitten", U"sitting", 2), std::nullopt) << "beyond the limit";
    EXPECT_EQ(editDistance(U"ab", U"ba", 2), 2) << "a swap is two edits";

    // 3 of 10 characters changed is exactly 70%; 4 is not enough.
    EXPECT_EQ(sim("abcdefghij", "abcdefgXYZ"), 70);
    EXPECT_EQ(sim("abcdefghij", "abcdefWXYZ"), std::nullopt);
    EXPECT_EQ(sim("Open file", "Open files"), 90);
    EXPECT_EQ(sim("Open", "open"), 75) << "letter case counts";
    EXPECT_EQ(sim("", ""), 100);
    // Code points, not UTF-16 units: one emoji is one character.
    EXPECT_EQ(sim(QString::fromUtf8("Fertig 😀"), QString::fromUtf8("Fertig 😃")), 87);
    EXPECT_EQ(sim(QString::fromUtf8("ファイルを開く"), QString::fromUtf8("ファイルを閉じる")), std::nullopt);
    EXPECT_EQ(sim(QString::fromUtf8("ファイルを保存する"), QString::fromUtf8("ファイルを保存")), 77);
}

TEST(Similarity, LengthWindowHoldsEveryTextThatCanBeSimilarEnough)
{
    for (int n = 1; n <= 60; ++n) {
        const auto [shortest, longest] = similarLengths(n);
        for (int m = 0; m <= 2 * n + 2; ++m) {
            // The best a text of length m can do: n - m or m - n edits.
            const int longer = std::max(n, m);
            const bool possible = 100 * (longer - std::abs(n - m)) / longer >= kMinSimilarity;
            EXPECT_EQ(possible, m >= shortest && m <= longest) << n << " " << m;
        }
    }
}

class SimilarMatchesTest : public DictionaryFolderTest {
protected:
    void SetUp() override
    {
        DictionaryFolderTest::SetUp();
        makeTable("t", {{"Cannot open the file", "Datei kann nicht geöffnet werden"},
                        {"Cannot open the file", "Kann Datei nicht öffnen"},
                        {"Cannot open the files", "Dateien können nicht geöffnet werden"},
                        {"Cannot save the file", "Datei kann nicht gespeichert werden"},
                        {"Cannot open the folder", "Ordner kann nicht geöffnet werden"},
                        {"Open", "Öffnen"},
                        {"Close the window", "Fenster schließen"}});
        ASSERT_TRUE(table_.open("t"));
    }
};

TEST_F(SimilarMatchesTest, FreeSlotsGetTranslationsOfSimilarSourcesMostAlikeFirst)
{
    Dictionary& d = table_;
    ASSERT_TRUE(d.hasSimilarIndex());

    // An unknown source: all five slots are free.
    const QString key = "Cannot open the file!";
    const Proposals none = d.lookup(key);
    const std::vector<SimilarMatch> all = d.similarMatches(key, none);
    ASSERT_EQ(all.size(), 5u) << str(d.lastError());
    EXPECT_EQ(all[0], (SimilarMatch{"Cannot open the file", "Datei kann nicht geöffnet werden", 95}));
    EXPECT_EQ(all[1], (SimilarMatch{"Cannot open the file", "Kann Datei nicht öffnen", 95}));
    EXPECT_EQ(all[2].source, "Cannot open the files");
    EXPECT_EQ(all[2].similarity, 95);
    EXPECT_EQ(all[3], (SimilarMatch{"Cannot open the folder", "Ordner kann nicht geöffnet werden", 86}));
    EXPECT_EQ(all[4], (SimilarMatch{"Cannot save the file", "Datei kann nicht gespeichert werden", 76}));
    for (const SimilarMatch& m : all)
        EXPECT_GE(m.similarity, kMinSimilarity);
    EXPECT_TRUE(d.lookupKey() == key && d.isNewRecord()) << "similar matches leave the lookup as it was";

    // A known source: its own translations stay the exact proposals, the
    // free slots get the others, none repeated.
    const Proposals exact = d.lookup("Cannot open the &file");
    const std::vector<SimilarMatch> free = d.similarMatches("Cannot open the &file", exact);
    ASSERT_EQ(free.size(), 3u);
    EXPECT_EQ(free[0].source, "Cannot open the files");
    EXPECT_EQ(free[1].source, "Cannot open the folder");
    EXPECT_EQ(free[2], (SimilarMatch{"Cannot save the file", "Datei kann nicht gespeichert werden", 80}));
    for (const SimilarMatch& m : free)
        EXPECT_NE(m.source, "Cannot open the file");

    // Nothing under 70%, and nothing when the slots are full.
    EXPECT_TRUE(d.similar("Print the page", 5).empty());
    EXPECT_TRUE(d.similarMatches("x", Proposals{"a", "b", "c", "d", "e"}).empty());
    EXPECT_TRUE(d.similar("Op", 5).empty()) << "too short to be similar to anything but itself";
    // A long key of trigrams the table has never seen.
    QString noise;
    for (int i = 0; i < 3000; ++i)
        noise += QChar(0x4E00 + (i * 7919) % 20000);
    EXPECT_TRUE(d.similar(noise, 5).empty());
    EXPECT_TRUE(d.lastError().isEmpty()) << str(d.lastError());
}

TEST_F(SimilarMatchesTest, IndexFollowsEveryChangeToTheTable)
{
    Dictionary& d = table_;
    ASSERT_FALSE(d.similar("Cannot open the file", 1).empty());   // counts read

    // Stored here, and stored by another program meanwhile.
    ASSERT_TRUE(d.store("Zyxwvut frobnicate", "A"));
    raw(tableFilePath("t"), {"INSERT INTO Dictionary (Source, Dest1) VALUES ('Qwertzu plonkish', 'B')"});
    EXPECT_EQ(d.similar("Zyxwvut frobnicat", 1).size(), 1u);
    EXPECT_EQ(d.similar("Qwertzu plonkis", 1).size(), 1u);

    // Changed and deleted by another program.
    raw(tableFilePath("t"), {"UPDATE Dictionary SET Source = 'Quite different now' WHERE Source = 'Qwertzu plonkish'",
                             "DELETE FROM Dictionary WHERE Source = 'Zyxwvut frobnicate'"});
    EXPECT_TRUE(d.similar("Qwertzu plonkis", 1).empty());
    EXPECT_TRUE(d.similar("Zyxwvut frobnicat", 1).empty());
    EXPECT_EQ(d.similar("Quite different no", 1).size(), 1u);
    EXPECT_EQ(raw(tableFilePath("t"),
                  {"INSERT INTO DictionaryTrigrams (DictionaryTrigrams, rank) VALUES ('integrity-check', 1)",
                   "PRAGMA integrity_check"}),
              QStringList("ok"));
}

TEST_F(SimilarMatchesTest, OldTablesGetTheIndexAndReadOnlyOnesAreScanned)
{
    // A read-only copy that has the index uses it (its counts read through
    // a temporary table of the connection, the file untouched).
    const QString path = tableFilePath("t");
    table_.close();
    ASSERT_TRUE(QFile::copy(path, tableFilePath("indexed")));
    ASSERT_TRUE(QFile::setPermissions(tableFilePath("indexed"), QFileDevice::ReadOwner));
    {
        Dictionary indexed;
        ASSERT_TRUE(indexed.open("indexed"));
        EXPECT_TRUE(indexed.isReadOnly() && indexed.hasSimilarIndex());
        EXPECT_EQ(indexed.similar("Cannot open the file!", 5).size(), 5u) << str(indexed.lastError());
    }
    QFile::setPermissions(tableFilePath("indexed"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // A table as earlier versions made it: no index, no triggers.
    raw(path, {"DROP TRIGGER DictionaryTrigramsInsert", "DROP TRIGGER DictionaryTrigramsDelete",
               "DROP TRIGGER DictionaryTrigramsUpdate", "DROP TABLE DictionaryTrigrams"});
    table_.close();
    const QString copy = tableFilePath("old");
    ASSERT_TRUE(QFile::copy(path, copy));

    // Read-only: opened as it is, searched record by record, same answers.
    ASSERT_TRUE(QFile::setPermissions(copy, QFileDevice::ReadOwner));
    Dictionary readOnly;
    ASSERT_TRUE(readOnly.open("old"));
    EXPECT_TRUE(readOnly.isReadOnly());
    EXPECT_FALSE(readOnly.hasSimilarIndex());
    const std::vector<SimilarMatch> scanned = readOnly.similar("Cannot open the file!", 5);
    EXPECT_EQ(raw(copy, {"SELECT count(*) FROM sqlite_master WHERE name LIKE 'DictionaryTrigrams%'"}),
              QStringList("0"));

    // Writable: the index is made and filled when the table is opened.
    ASSERT_TRUE(table_.open("t"));
    EXPECT_TRUE(table_.hasSimilarIndex());
    EXPECT_EQ(table_.count(), 6);
    EXPECT_EQ(table_.similar("Cannot open the file!", 5), scanned);
    EXPECT_EQ(scanned.size(), 5u);
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace
