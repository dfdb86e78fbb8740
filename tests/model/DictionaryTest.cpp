// The dictionary engine: table files, lookup and the store rule.
#include "DictionaryFixture.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

using namespace lingrove::model;
using lingrove::model::testing::DictionaryFolderTest;
using lingrove::model::testing::props;
using lingrove::model::testing::str;

namespace {

// Runs one statement on a table file through a connection of its own; the
// values of column col of every result row.
QStringList raw(const QString& path, const QString& sql, int col = 0)
{
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "raw");
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(sql)) << str(sql);
        while (q.next())
            out << q.value(col).toString();
    }
    QSqlDatabase::removeDatabase("raw");
    return out;
}

using DictionaryTest = DictionaryFolderTest;

TEST_F(DictionaryTest, StoreRuleFillsSlotsOnceAndStopsAtFive)
{
    makeTable("German_French");
    Dictionary& d = table_;
    ASSERT_TRUE(d.open("German_French"));

    // A lookup alone writes nothing; the first commit makes the record.
    EXPECT_EQ(d.lookup("&File"), props({}));
    EXPECT_TRUE(d.isNewRecord());
    EXPECT_EQ(d.count(), 0);
    ASSERT_TRUE(d.store("&File", "Hallo"));
    EXPECT_EQ(raw(tableFilePath("German_French"), "SELECT Source, Dest1 FROM Dictionary", 0), QStringList("File"));

    // F&ile finds the same record; Hallo again changes nothing, Datei fills
    // slot 2, "&" is removed from translations too.
    EXPECT_EQ(d.lookup("F&ile"), props({"Hallo"}));
    EXPECT_FALSE(d.isNewRecord());
    ASSERT_TRUE(d.store("F&ile", "Ha&llo"));
    ASSERT_TRUE(d.store("File", "Da&tei"));
    EXPECT_EQ(d.lookup("File"), props({"Hallo", "Datei"}));

    // A sixth different translation is not learned, and nothing fails.
    for (const char* t : {"Akte", "Ordner", "Mappe", "Kartei", "Ordner"})
        ASSERT_TRUE(d.store("File", t));
    EXPECT_EQ(d.lookup("File"), props({"Hallo", "Datei", "Akte", "Ordner", "Mappe"}));
    EXPECT_EQ(d.count(), 1);

    // A slot emptied in the dictionary window comes before a later equal one.
    raw(tableFilePath("German_French"), "UPDATE Dictionary SET Dest1 = ''");
    ASSERT_TRUE(d.store("File", "Mappe"));
    EXPECT_EQ(d.lookup("File"), props({"Mappe", "Datei", "Akte", "Ordner", "Mappe"}));
}

TEST_F(DictionaryTest, LookupWithoutStoreLeavesNoRecordAndRepeatedStoreIsSafe)
{
    makeTable("t");
    Dictionary d;
    ASSERT_TRUE(d.open("t"));
    d.lookup("One");
    d.lookup("Two");
    ASSERT_TRUE(d.store("Two", "Zwei"));
    EXPECT_FALSE(d.find("One", nullptr));
    // Committing twice without a new lookup does not insert twice.
    ASSERT_TRUE(d.store("Two", "Zwo"));
    EXPECT_EQ(d.lookup("Two"), props({"Zwei", "Zwo"}));
    EXPECT_EQ(d.count(), 1);
}

TEST_F(DictionaryTest, CreatedTableHasLayoutIndexAndFieldSize)
{
    QString error;
    ASSERT_TRUE(createTable("German_French", 30, &error)) << str(error);
    const QString path = folder_ + "/German_French.db";
    EXPECT_EQ(QDir(folder_).entryList(QDir::Files | QDir::Hidden), QStringList("German_French.db"))
        << "no temporary file is left behind";
    EXPECT_EQ(raw(path, "PRAGMA table_info(Dictionary)", 1),
              QStringList({"Source", "Dest1", "Dest2", "Dest3", "Dest4", "Dest5"}));
    EXPECT_EQ(raw(path, "PRAGMA index_list(Dictionary)", 1), QStringList("SourceIndex"));
    EXPECT_EQ(raw(path, "PRAGMA index_list(Dictionary)", 2), QStringList("1")) << "unique";
    EXPECT_EQ(raw(path, "PRAGMA index_info(SourceIndex)", 2), QStringList("Source"));
    EXPECT_EQ(raw(path, "PRAGMA journal_mode"), QStringList("wal"));

    Dictionary d;
    ASSERT_TRUE(d.open("German_French"));
    EXPECT_EQ(d.fieldSize(), 30);
    // Sizes outside 10..100 are clamped.
    ASSERT_TRUE(createTable("small", 3, &error));
    ASSERT_TRUE(createTable("big", 1000, &error));
    ASSERT_TRUE(d.open("small"));
    EXPECT_EQ(d.fieldSize(), 10);
    ASSERT_TRUE(d.open("big"));
    EXPECT_EQ(d.fieldSize(), 100);
}

TEST_F(DictionaryTest, ExistingTableIsNeverReplacedAndFoundInAnyCase)
{
    makeTable("German_French", {{"File", "Datei"}});
    QString error;
    EXPECT_FALSE(createTable("German_French", 50, &error));
    EXPECT_TRUE(error.contains("exists already")) << str(error);
    EXPECT_FALSE(createTable("german_FRENCH", 50, &error));
    EXPECT_EQ(listTables(), QStringList("German_French"));

    Dictionary d;
    ASSERT_TRUE(d.open("GERMAN_french")) << str(d.lastError());
    EXPECT_EQ(d.lookup("File"), props({"Datei"}));
}

TEST_F(DictionaryTest, BadNamesMissingTablesAndForeignFilesAreReported)
{
    const QString nul = QString("a") + QChar(0) + "b";
    // Too long for its side files ("-journal") beside it, or never listed.
    for (const QString& name : {QString(), QString("a/b"), QString("."), QString(".."), nul, QString(300, 'x'),
                                QString(252, 'x'), QString(245, 'x'), QString(".hidden"), QString("tab\there")}) {
        QString error;
        EXPECT_FALSE(createTable(name, 50, &error)) << str(name);
        EXPECT_FALSE(error.isEmpty());
        Dictionary d;
        EXPECT_FALSE(d.open(name, &error));
        EXPECT_FALSE(d.lastError().isEmpty());
    }
    EXPECT_TRUE(QDir(folder_).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(QDir(home_.path()).entryList({"*.db"}, QDir::Files).isEmpty());

    Dictionary d;
    QString error;
    EXPECT_FALSE(d.open("missing", &error));
    EXPECT_TRUE(error.contains("does not exist")) << str(error);
    EXPECT_FALSE(QFile::exists(folder_ + "/missing.db")) << "opening must not create the file";
    // Without an open table a lookup gives nothing and a store reports.
    EXPECT_EQ(d.lookup("x"), props({}));
    EXPECT_FALSE(d.store("x", "y"));
    EXPECT_FALSE(d.lastError().isEmpty());

    QFile junk(folder_ + "/junk.db");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(600, 'j'));
    junk.close();
    EXPECT_FALSE(d.open("junk", &error));
    EXPECT_TRUE(error.contains("not a readable dictionary table")) << str(error);
    EXPECT_FALSE(d.isOpen());
}

TEST_F(DictionaryTest, NamesWithQuotesAndSpacesWorkAndListSorted)
{
    const QStringList names = {"English German", "O'Brien", "x\"; DROP TABLE Dictionary; --", "back\\slash",
                               QString(244, 'l')};
    for (const QString& name : names)
        makeTable(name, {{"Yes", name}});
    for (const QString& name : names) {
        Dictionary d;
        ASSERT_TRUE(d.open(name)) << str(d.lastError());
        EXPECT_EQ(d.lookup("Yes")[0], name);
    }
    QFile other(folder_ + "/notes.txt");
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    EXPECT_EQ(listTables(), QStringList({"back\\slash", "English German", names[4], "O'Brien", names[2]}));
}

TEST_F(DictionaryTest, TextsLongerThanFieldSizeAreKeptWhole)
{
    makeTable("short", {}, 10);
    Dictionary d;
    ASSERT_TRUE(d.open("short"));
    const QString a = "Cannot open the file because " + QString(200, 'a');
    const QString b = "Cannot open the file because " + QString(200, 'b');
    const QString ta = "Datei kann nicht geoeffnet werden " + QString(100, 'x') + " 'quoted' %s";
    ASSERT_TRUE(d.store(a, ta));
    ASSERT_TRUE(d.store(b, "B"));
    EXPECT_EQ(d.lookup(a)[0], ta);
    EXPECT_EQ(d.lookup(b)[0], "B");
    EXPECT_TRUE(d.lookup(a.left(10))[0].isEmpty()) << "a prefix is another source";
}

TEST_F(DictionaryTest, TablesThatCannotBeWrittenOpenForLookupsOnly)
{
    makeTable("readonly", {{"File", "Datei"}});
    const QString file = tableFilePath("readonly");
    struct Restore {
        QString folder, file;
        ~Restore()
        {
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
    } restore{folder_, file};

    // First the file, then its whole folder, without write permission.
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    for (int round = 0; round < 2; ++round) {
        if (round == 1)
            QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        Dictionary d;
        QString error;
        ASSERT_TRUE(d.open("readonly", &error)) << str(error);
        EXPECT_TRUE(d.isReadOnly());
        EXPECT_EQ(d.lookup("File"), props({"Datei"}));
        EXPECT_TRUE(d.lastError().isEmpty()) << str(d.lastError());
        EXPECT_FALSE(d.store("Edit", "Bearbeiten"));
        EXPECT_TRUE(d.lastError().contains("cannot be written")) << str(d.lastError());
        EXPECT_EQ(d.lookup("Edit"), props({}));
    }
    EXPECT_EQ(QDir(folder_).entryList(QDir::Files | QDir::Hidden), QStringList{"readonly.db"});
}

TEST_F(DictionaryTest, TwoProgramsOnOneTableKeepBothTranslations)
{
    makeTable("shared");
    Dictionary first;
    Dictionary second;
    ASSERT_TRUE(first.open("shared"));
    ASSERT_TRUE(second.open("shared"));
    // Both look the source up before either stores.
    first.lookup("Close");
    second.lookup("Close");
    ASSERT_TRUE(first.store("Close", "Schliessen")) << str(first.lastError());
    ASSERT_TRUE(second.store("Close", "Zumachen")) << str(second.lastError());
    EXPECT_EQ(first.lookup("Close"), props({"Schliessen", "Zumachen"}));
    first.close();
    second.close();

    // Four writers at the same time (threads standing in for programs), each
    // opening the table again now and then: every store waits for the others
    // instead of failing.
    std::atomic<int> failures{0};
    auto writer = [&](int base) {
        auto d = std::make_unique<Dictionary>();
        for (int i = 0; i < 150; ++i) {
            if (i % 50 == 0) {
                d = std::make_unique<Dictionary>();
                if (!d->open("shared"))
                    ++failures;
            }
            d->lookup("Common");
            if (!d->store("Common", QString("T%1").arg(base)) || !d->store(QString("S%1").arg(base + i), "x"))
                ++failures;
        }
    };
    std::vector<std::thread> writers;
    for (int base : {0, 1000, 2000, 3000})
        writers.emplace_back(writer, base);
    for (std::thread& t : writers)
        t.join();
    EXPECT_EQ(failures.load(), 0);
    ASSERT_TRUE(first.open("shared"));
    EXPECT_EQ(first.count(), 602);
    Proposals common = first.lookup("Common");
    std::sort(common.begin(), common.end());
    EXPECT_EQ(common, props({"", "T0", "T1000", "T2000", "T3000"}));
    first.close();
    EXPECT_EQ(raw(tableFilePath("shared"), "PRAGMA integrity_check"), QStringList("ok"));
}

TEST_F(DictionaryTest, MergeAddsNewSourcesAndNeverReplacesAStoredTranslation)
{
    makeTable("m", {{"File", "Datei"}, {"Edit", "Bearbeiten"}});
    ASSERT_TRUE(table_.open("m"));
    Dictionary& d = table_;
    for (const char* t : {"Eins", "Zwei", "Drei", "Vier", "Fuenf"})
        ASSERT_TRUE(d.store("Full", t));
    raw(tableFilePath("m"), "INSERT INTO Dictionary (Source) VALUES ('Empty')");

    const std::vector<std::pair<QString, QStringList>> incoming = {
        {"File", {"Datei"}}, {"&File", {"Akte"}},   // the same source twice
        {"Edit", {"Bearbeiten"}},
        {"New", {"Neu", "&Neu", "Neues"}},           // "&" removed: two translations
        {"Empty", {"Leer"}},
        {"Full", {"Sechs"}},
        {"", {"ignored"}}, {"Blank", {""}},
    };
    auto outcome = [](const std::vector<MergeResult>& results) {
        QStringList out;
        for (const MergeResult& r : results)
            out << QString("%1:%2%3%4 +[%5] ![%6]")
                       .arg(r.source, r.added ? "A" : "", r.updated() ? "U" : "", r.conflicting() ? "C" : "",
                            r.stored.join(','), r.notStored.join(','));
        return out;
    };
    const QStringList expected = {"File:C +[] ![Akte]", "Edit: +[] ![]", "New:A +[Neu,Neues] ![]",
                                  "Empty:U +[Leer] ![]", "Full:C +[] ![Sechs]", "Blank: +[] ![]"};

    // A dry run tells the same and writes nothing.
    std::vector<MergeResult> results;
    ASSERT_TRUE(d.merge(incoming, {false, true}, &results)) << str(d.lastError());
    EXPECT_EQ(outcome(results), expected);
    EXPECT_EQ(d.count(), 4);

    ASSERT_TRUE(d.merge(incoming, {}, &results)) << str(d.lastError());
    EXPECT_EQ(outcome(results), expected);
    EXPECT_EQ(results[0].before, props({"Datei"}));
    EXPECT_EQ(d.lookup("File"), props({"Datei"})) << "a conflict leaves the stored translations alone";
    EXPECT_EQ(d.lookup("New"), props({"Neu", "Neues"}));
    EXPECT_EQ(d.lookup("Empty"), props({"Leer"}));
    EXPECT_FALSE(d.find("Blank", nullptr));
    EXPECT_EQ(d.similar("New!", 1).size(), 1u) << "merged sources are in the index";

    // Alternatives go into free slots, still never over a translation.
    ASSERT_TRUE(d.merge(incoming, {true, false}, &results));
    EXPECT_EQ(outcome(results)[0], "File:U +[Akte] ![]");
    EXPECT_EQ(outcome(results)[4], "Full:C +[] ![Sechs]");
    EXPECT_EQ(d.lookup("File"), props({"Datei", "Akte"}));

    // A table that cannot be written takes dry runs only.
    QFile::setPermissions(tableFilePath("m"), QFileDevice::ReadOwner);
    Dictionary readOnly;
    ASSERT_TRUE(readOnly.open("m"));
    EXPECT_FALSE(readOnly.merge(incoming, {}, &results));
    EXPECT_TRUE(readOnly.lastError().contains("cannot be written")) << str(readOnly.lastError());
    EXPECT_TRUE(readOnly.merge(incoming, {false, true}, &results));
    QFile::setPermissions(tableFilePath("m"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace
