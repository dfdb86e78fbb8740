// The dictionary engine: table files, lookup and the store rule.
#include "test_dictionary_support.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

using namespace lingrove::translation;
using lingrove::translation::testing::DictionaryFolderTest;
using lingrove::translation::testing::str;

namespace {

Proposals props(std::initializer_list<const char*> texts)
{
    Proposals p;
    size_t i = 0;
    for (const char* t : texts)
        p[i++] = QString::fromUtf8(t);
    return p;
}

// Reads a table file through a connection of its own.
class RawTable {
public:
    explicit RawTable(const QString& path)
    {
        db_ = QSqlDatabase::addDatabase("QSQLITE", "raw-reader");
        db_.setDatabaseName(path);
        EXPECT_TRUE(db_.open());
    }
    ~RawTable()
    {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase("raw-reader");
    }
    QStringList column(const QString& sql, int col = 0)
    {
        QStringList out;
        QSqlQuery q(db_);
        EXPECT_TRUE(q.exec(sql)) << str(sql);
        while (q.next())
            out << q.value(col).toString();
        return out;
    }

private:
    QSqlDatabase db_;
};

using DictionaryTest = DictionaryFolderTest;

TEST_F(DictionaryTest, StoreRuleFillsSlotsOnceAndStopsAtFive)
{
    makeTable("German_French");
    Dictionary& d = DM().Table1;
    ASSERT_TRUE(d.open("German_French"));

    // First commit of Hallo for &File makes a new record.
    EXPECT_EQ(d.TableState("&File"), props({}));
    EXPECT_TRUE(d.isNewRecord());
    ASSERT_TRUE(d.store("&File", "Hallo"));
    Proposals stored;
    ASSERT_TRUE(d.find("File", &stored));
    EXPECT_EQ(stored, props({"Hallo"}));

    // F&ile finds the same record.
    EXPECT_EQ(d.TableState("F&ile"), props({"Hallo"}));
    EXPECT_FALSE(d.isNewRecord());

    // The same translation again changes nothing; a new one fills slot 2;
    // "&" is removed from translations too.
    ASSERT_TRUE(d.store("F&ile", "Ha&llo"));
    ASSERT_TRUE(d.store("File", "Da&tei"));
    EXPECT_EQ(d.TableState("File"), props({"Hallo", "Datei"}));

    for (const char* t : {"Akte", "Ordner", "Mappe"})
        ASSERT_TRUE(d.store("File", t));
    EXPECT_EQ(d.TableState("File"), props({"Hallo", "Datei", "Akte", "Ordner", "Mappe"}));

    // A sixth different translation is not learned, and nothing fails.
    ASSERT_TRUE(d.store("File", "Kartei"));
    EXPECT_EQ(d.TableState("File"), props({"Hallo", "Datei", "Akte", "Ordner", "Mappe"}));
    // Storing one of the five again is harmless.
    ASSERT_TRUE(d.store("File", "Ordner"));
    EXPECT_EQ(d.count(), 1);
}

TEST_F(DictionaryTest, FreeSlotBetweenFilledSlotsIsUsedFirst)
{
    makeTable("t", {{"Open", "Offen"}});
    Dictionary d;
    ASSERT_TRUE(d.open("t"));
    ASSERT_TRUE(d.store("Open", "Auf"));
    ASSERT_TRUE(d.store("Open", "Oeffnen"));
    {
        // A slot emptied by hand in the dictionary window.
        RawTable raw(tableFilePath("t"));
        raw.column("UPDATE Dictionary SET Dest2 = '' WHERE Source = 'Open'");
    }
    ASSERT_TRUE(d.store("Open", "Oeffnen"));
    EXPECT_EQ(d.TableState("Open"), props({"Offen", "Oeffnen", "Oeffnen"}))
        << "the first empty slot comes before a later equal one";
}

TEST_F(DictionaryTest, LookupWithoutStoreLeavesNoRecord)
{
    makeTable("t");
    Dictionary d;
    ASSERT_TRUE(d.open("t"));
    d.TableState("One");
    d.TableState("Two");
    EXPECT_EQ(d.count(), 0);
    ASSERT_TRUE(d.store("Two", "Zwei"));
    EXPECT_EQ(d.count(), 1);
    EXPECT_FALSE(d.find("One", nullptr));

    // Committing twice without a new lookup does not try to insert twice.
    ASSERT_TRUE(d.store("Two", "Zwo"));
    EXPECT_EQ(d.TableState("Two"), props({"Zwei", "Zwo"}));
}

TEST_F(DictionaryTest, CreatedTableHasLayoutIndexAndFieldSize)
{
    QString error;
    ASSERT_TRUE(createTable("German_French", 30, &error)) << str(error);
    EXPECT_TRUE(QFile::exists(folder_ + "/German_French.db"));
    EXPECT_TRUE(QDir(folder_).entryList(QDir::Files | QDir::Hidden).filter("new-table").isEmpty())
        << "no temporary file is left behind";
    {
        RawTable raw(folder_ + "/German_French.db");
        EXPECT_EQ(raw.column("PRAGMA table_info(Dictionary)", 1),
                  QStringList({"Source", "Dest1", "Dest2", "Dest3", "Dest4", "Dest5"}));
        EXPECT_EQ(raw.column("PRAGMA table_info(Dictionary)", 2), QStringList(6, "TEXT"));
        EXPECT_EQ(raw.column("PRAGMA index_list(Dictionary)", 1), QStringList({"SourceIndex"}));
        EXPECT_EQ(raw.column("PRAGMA index_list(Dictionary)", 2), QStringList({"1"})) << "unique";
        EXPECT_EQ(raw.column("PRAGMA index_info(SourceIndex)", 2), QStringList({"Source"}));
        EXPECT_EQ(raw.column("PRAGMA journal_mode"), QStringList({"wal"}));
    }
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

TEST_F(DictionaryTest, ExistingTableIsNeverReplaced)
{
    makeTable("German_French", {{"File", "Datei"}});
    QString error;
    EXPECT_FALSE(createTable("German_French", 50, &error));
    EXPECT_TRUE(error.contains("exists already")) << str(error);
    error.clear();
    EXPECT_FALSE(createTable("german_french", 50, &error)) << "names differing in case only";
    EXPECT_FALSE(error.isEmpty());

    Dictionary d;
    ASSERT_TRUE(d.open("German_French"));
    EXPECT_EQ(d.TableState("File"), props({"Datei"}));
    EXPECT_EQ(listTables(), QStringList({"German_French"}));
}

TEST_F(DictionaryTest, BadNamesAreRefusedAndMissingTablesNotCreated)
{
    const QString nul = QString("a") + QChar(0) + "b";
    for (const QString& name : {QString(), QString("a/b"), QString("."), QString(".."), nul, QString(300, 'x')}) {
        QString error;
        EXPECT_FALSE(createTable(name, 50, &error)) << str(name);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(checkTableName(name).isEmpty());
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
    EXPECT_FALSE(d.isOpen());
    // Without an open table a lookup gives nothing and a store reports.
    EXPECT_EQ(d.TableState("x"), props({}));
    EXPECT_FALSE(d.store("x", "y"));
    EXPECT_FALSE(d.lastError().isEmpty());
}

TEST_F(DictionaryTest, NamesWithQuotesAndSpacesWork)
{
    const QStringList names = {"English German", "O'Brien", "x\"; DROP TABLE Dictionary; --", "back\\slash"};
    for (const QString& name : names)
        makeTable(name, {{"Yes", name}});
    for (const QString& name : names) {
        Dictionary d;
        ASSERT_TRUE(d.open(name)) << str(d.lastError());
        EXPECT_EQ(d.TableState("Yes")[0], name);
    }
    QStringList sorted = names;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(listTables(), sorted);
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
    EXPECT_EQ(d.TableState(a)[0], ta);
    EXPECT_EQ(d.TableState(b)[0], "B");
    EXPECT_TRUE(d.TableState(a.left(10))[0].isEmpty()) << "a prefix is another source";
    EXPECT_EQ(d.count(), 2);
}

TEST_F(DictionaryTest, TwoProgramsOnOneTableKeepBothTranslations)
{
    makeTable("shared");
    Dictionary first;
    Dictionary second;
    ASSERT_TRUE(first.open("shared"));
    ASSERT_TRUE(second.open("shared"));

    // Both look the source up before either stores.
    first.TableState("Close");
    second.TableState("Close");
    EXPECT_TRUE(first.isNewRecord());
    EXPECT_TRUE(second.isNewRecord());
    ASSERT_TRUE(first.store("Close", "Schliessen")) << str(first.lastError());
    ASSERT_TRUE(second.store("Close", "Zumachen")) << str(second.lastError());
    EXPECT_EQ(first.TableState("Close"), props({"Schliessen", "Zumachen"}));

    for (int i = 0; i < 200; ++i) {
        Dictionary& d = i % 2 ? first : second;
        ASSERT_TRUE(d.store(QString("S%1").arg(i), QString("T%1").arg(i))) << str(d.lastError());
    }
    EXPECT_EQ(second.count(), 201);
    first.close();
    second.close();
    RawTable raw(tableFilePath("shared"));
    EXPECT_EQ(raw.column("PRAGMA integrity_check"), QStringList({"ok"}));
}

TEST_F(DictionaryTest, ListingShowsTableFilesOnly)
{
    makeTable("beta");
    makeTable("Alpha");
    QFile other(folder_ + "/notes.txt");
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    EXPECT_EQ(listTables(), QStringList({"Alpha", "beta"}));
    EXPECT_TRUE(listTables(folder_ + "/none").isEmpty());
}

TEST_F(DictionaryTest, FileThatIsNoTableIsReported)
{
    QFile junk(folder_ + "/junk.db");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a database at all, just some text that fills a page");
    junk.close();
    Dictionary d;
    QString error;
    EXPECT_FALSE(d.open("junk", &error));
    EXPECT_TRUE(error.contains("not a readable dictionary table")) << str(error);
    EXPECT_FALSE(d.isOpen());
}

TEST_F(DictionaryTest, TableOfOtherLetterCaseIsFound)
{
    makeTable("German_French", {{"Yes", "Ja"}});
    Dictionary d;
    ASSERT_TRUE(d.open("GERMAN_french")) << str(d.lastError());
    EXPECT_EQ(d.TableState("Yes")[0], "Ja");
}

} // namespace
