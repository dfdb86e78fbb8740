// Dictionary tables on a PostgreSQL server: the same rules as on this
// computer, many translators at once, a server that is away or refuses, and
// copying tables between this computer and the server.
#include "ServerFixture.h"

#include "model/TableCopy.h"
#include "model/TranslationSession.h"
#include "model/Workspace.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextBlock>
#include <QTextDocument>
#include <QThread>

#include <arpa/inet.h>
#include <atomic>
#include <future>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

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
using lingrove::model::testing::kAnnaPassword;
using lingrove::model::testing::kBobPassword;
using lingrove::model::testing::ServerTest;
using lingrove::model::testing::props;
using lingrove::model::testing::str;

namespace {

QString joined(const Proposals& p)
{
    QStringList all;
    for (const QString& t : p)
        all << t;
    return all.join(QLatin1Char('|'));
}

// A socket on 127.0.0.1 that listens (so) or is closed again: its port.
struct Socket {
    int fd = -1;
    int port = 0;
    explicit Socket(bool listening)
    {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        if (listening) {
            ::listen(fd, 4);
        } else {
            ::close(fd);
            fd = -1;
        }
    }
    ~Socket()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// A connection of the superuser to the test's database, held open by a
// test to lock records as another translator's store would.
class Holder {
public:
    Holder(int port, const QString& database)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "holder");
        db.setHostName("127.0.0.1");
        db.setPort(port);
        db.setUserName("admin");
        db.setDatabaseName(database);
        EXPECT_TRUE(db.open()) << str(db.lastError().text());
    }
    ~Holder() { QSqlDatabase::removeDatabase("holder"); }
    bool exec(const QString& sql)
    {
        QSqlQuery query(QSqlDatabase::database("holder", false));
        const bool ok = query.exec(sql);
        EXPECT_TRUE(ok) << str(sql) << ": " << str(query.lastError().text());
        return ok;
    }
};

// The filled slots of joined proposals.
QString filled(QString text)
{
    while (text.endsWith('|'))
        text.chop(1);
    return text;
}

using ServerDictionaryTest = ServerTest;

// The same scenario on this computer and on the server must see the same.
TEST_F(ServerDictionaryTest, BothEnginesFollowTheSameRules)
{
    auto observe = [](const DictionaryLocation& where) {
        QStringList seen;
        QString error;
        seen << QString("created %1").arg(createTable("German_French", 30, where, &error));
        seen << QString("again %1 %2")
                    .arg(createTable("german_FRENCH", 30, where, &error))
                    .arg(error.contains("exists already"));
        seen << QString("small %1").arg(createTable("small", 3, where, &error));
        Dictionary d;
        EXPECT_TRUE(d.open("GERMAN_french", where, &error)) << str(error);
        seen << QString("size %1 %2").arg(d.fieldSize()).arg(d.tableName());
        // The store rule: "&" removed, each translation once, five at most.
        d.lookup("&File");
        seen << QString("new %1").arg(d.isNewRecord());
        for (const char* t : {"Hallo", "Ha&llo", "Datei", "Akte", "Ordner", "Mappe", "Kartei", "Ordner"})
            seen << QString("store %1 %2").arg(d.store("F&ile", t)).arg(joined(d.proposals()));
        seen << QString("lookup %1 new %2").arg(joined(d.lookup("File"))).arg(d.isNewRecord());
        // Texts far longer than the field size, and than a btree entry, kept whole.
        const QString a = "Cannot open the file because " + QString(3000, 'a');
        const QString b = "Cannot open the file because " + QString(3000, 'b');
        seen << QString("long %1 %2").arg(d.store(a, "A " + QString(2000, 'x'))).arg(d.store(b, "B"));
        seen << QString("long lookup %1 %2").arg(d.lookup(a)[0].size()).arg(d.lookup(b)[0]);
        seen << QString("quotes %1 %2")
                    .arg(d.store("It's \"quoted\" \\ %s", "C'est ; --"))
                    .arg(d.lookup("It's \"quoted\" \\ %s")[0]);
        seen << QString("unicode %1 %2")
                    .arg(d.store("ファイルを開く", "Открыть файл 😀"))
                    .arg(d.lookup("ファイルを開く")[0]);
        // Merging never replaces a stored translation.
        std::vector<MergeResult> results;
        EXPECT_TRUE(d.merge({{"File", {"Neu"}}, {"New", {"Neu", "&Neu", "Neues"}}, {"", {"x"}}}, {}, &results));
        for (const MergeResult& r : results)
            seen << QString("merge %1 %2 %3 +%4 !%5")
                        .arg(r.source)
                        .arg(r.added)
                        .arg(r.updated())
                        .arg(r.stored.join(','), r.notStored.join(','));
        EXPECT_TRUE(d.merge({{"New", {"Anders"}}}, {true, false}, &results));
        seen << QString("alternative %1").arg(joined(d.lookup("New")));
        // Every record in the order it was made.
        d.forEachRecord([&](const QString& source, const Proposals& dests) {
            seen << source.left(40) + " = " + joined(dests).left(40);
        });
        seen << QString("count %1 find %2").arg(d.count()).arg(d.find("&New", nullptr));
        QStringList tables;
        EXPECT_TRUE(listTables(where, &tables, &error)) << str(error);
        seen << tables.join(',');
        return seen;
    };
    const QStringList here = observe(local());
    const QStringList there = observe(at());
    EXPECT_EQ(there, here);
    EXPECT_TRUE(here.contains("lookup Hallo|Datei|Akte|Ordner|Mappe new 0")) << str(here.join('\n'));
    EXPECT_TRUE(here.contains("size 30 GERMAN_french")) << str(here.join('\n'));
    EXPECT_TRUE(here.contains("again 0 1"));
    EXPECT_TRUE(here.contains("long lookup 2002 B"));
    EXPECT_EQ(here.last(), "German_French,small");
}

TEST_F(ServerDictionaryTest, TableNamesReachTheServerOnlyAsValues)
{
    const QStringList names = {"x\"; DROP TABLE lingrove.tables; --", "O'Brien", "a.b", "Ünïcödé 表", QString(244, 'l'),
        "English German", "back\\slash", "d1_english_german"};
    for (const QString& name : names) {
        QString error;
        ASSERT_TRUE(createTable(name, 50, at(), &error)) << str(name) << ": " << str(error);
        Dictionary d;
        ASSERT_TRUE(d.open(name, at(), &error)) << str(error);
        ASSERT_TRUE(d.store("Yes", name)) << str(d.lastError());
    }
    for (const QString& name : names) {
        Dictionary d;
        ASSERT_TRUE(d.open(name.toUpper(), at()));
        EXPECT_EQ(d.lookup("Yes")[0], name);
        EXPECT_EQ(d.count(), 1);
    }
    QStringList listed;
    QString error;
    ASSERT_TRUE(listTables(at(), &listed, &error)) << str(error);
    QStringList expected = names;
    std::sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    EXPECT_EQ(listed, expected);
    // Each table is a relation of a generated name in the schema lingrove.
    const QStringList relations = adminQuery("SELECT \"Relation\" FROM lingrove.tables ORDER BY 1");
    ASSERT_EQ(relations.size(), names.size());
    for (const QString& relation : relations)
        EXPECT_TRUE(QRegularExpression("^d[0-9]+(_[a-z0-9_]+)?$").match(relation).hasMatch()) << str(relation);
    EXPECT_EQ(adminQuery("SELECT count(*) FROM pg_tables WHERE schemaname = 'lingrove'"),
        QStringList(QString::number(names.size() + 1)));
    // Bad names are refused as on this computer.
    for (const QString& bad : {QString(), QString("a/b"), QString(".hidden"), QString(300, 'x')}) {
        EXPECT_FALSE(createTable(bad, 50, at(), &error));
        Dictionary d;
        EXPECT_FALSE(d.open(bad, at(), &error));
    }
    Dictionary d;
    EXPECT_FALSE(d.open("missing", at(), &error));
    EXPECT_TRUE(error.contains("does not exist on the server 127.0.0.1")) << str(error);
}

TEST_F(ServerDictionaryTest, SimilarMatchesAreScoredAsOnThisComputerWithOrWithoutPgTrgm)
{
    const QList<QPair<QString, QString>> pairs = {
        {"Cannot open the file", "Datei kann nicht geöffnet werden"},
        {"Cannot open the file", "Kann Datei nicht öffnen"},
        {"Cannot open the files", "Dateien können nicht geöffnet werden"},
        {"Cannot save the file", "Datei kann nicht gespeichert werden"},
        {"Cannot open the folder", "Ordner kann nicht geöffnet werden"},
        {"Open", "Öffnen"},
        {"Close the window", "Fenster schließen"},
        {"Close all windows", "Alle Fenster schließen"},
        {"Datei öffnen…", "Open file…"},
        {"abcdefghij", "ten letters"},
    };
    Dictionary here;
    Dictionary there;
    for (Dictionary* d : {&here, &there}) {
        const DictionaryLocation where = d == &here ? local() : at();
        QString error;
        ASSERT_TRUE(createTable("t", 50, where, &error)) << str(error);
        ASSERT_TRUE(d->open("t", where, &error)) << str(error);
        for (const auto& [source, dest] : pairs)
            ASSERT_TRUE(d->store(source, dest));
    }
    const QStringList keys = {"Cannot open the file!", "Cannot open the &file", "Close the windows", "Print the page",
        "Op", "Datei öffnen", "abcdefgXYZ", "abXdefXhiX", ""};
    auto compare = [&] {
        for (const QString& key : keys) {
            EXPECT_EQ(there.similar(key, 5), here.similar(key, 5)) << str(key);
            EXPECT_EQ(there.similarMatches(key, there.lookup(key)), here.similarMatches(key, here.lookup(key)));
            EXPECT_TRUE(there.lastError().isEmpty()) << str(there.lastError());
        }
    };
    EXPECT_TRUE(there.hasSimilarIndex()) << "the first table adds pg_trgm, a trusted extension";
    EXPECT_EQ(here.similar("Cannot open the file!", 5).size(), 5u);
    compare();

    // Without the extension every record is scored, with the same answers.
    there.close();
    admin({"DROP EXTENSION pg_trgm CASCADE"});
    ASSERT_TRUE(there.open("t", at()));
    EXPECT_FALSE(there.hasSimilarIndex());
    compare();
}

TEST_F(ServerDictionaryTest, TwoTranslatorsStoringOneSourceAtOnceKeepBothInCommitOrder)
{
    QString error;
    ASSERT_TRUE(createTable("shared", 50, at(), &error)) << str(error);
    const QString relation = "lingrove." + adminQuery("SELECT \"Relation\" FROM lingrove.tables").value(0);
    Holder holder(server_->port(), database_);

    // Two stores wait while a third transaction holds the source (first a
    // new one, then a known one); when it ends both go through, one after
    // the other.
    for (const bool known : {false, true}) {
        ASSERT_TRUE(holder.exec("BEGIN"));
        if (!known)
            ASSERT_TRUE(holder.exec("INSERT INTO " + relation + " (\"Source\", \"Dest1\") VALUES ('Close', 'Raw')"));
        else
            ASSERT_TRUE(holder.exec("SELECT * FROM " + relation + " WHERE \"Source\" = 'Close' FOR UPDATE"));
        const DictionaryLocation where = at();
        auto store = [where, known](const QString& translation) {
            Dictionary d;
            QString why;
            if (!d.open("shared", where, &why))
                return "open failed: " + why;
            return d.store("Close", translation + (known ? "2" : "")) ? joined(d.proposals()) : d.lastError();
        };
        auto first = std::async(std::launch::async, store, QString("Schliessen"));
        auto second = std::async(std::launch::async, store, QString("Zumachen"));
        QElapsedTimer clock;
        clock.start();
        while (adminQuery("SELECT count(*) FROM pg_stat_activity WHERE wait_event_type = 'Lock' AND datname = "
                          "current_database()")
                    .value(0)
                    .toInt()
                < 2
            && clock.elapsed() < 4000)
            QThread::msleep(20);
        ASSERT_TRUE(holder.exec("COMMIT"));
        const QString a = first.get();
        const QString b = second.get();
        // What each saw after its store: the one that committed later sees
        // the other's translation before its own.
        Dictionary d;
        ASSERT_TRUE(d.open("shared", at()));
        const QString stored = joined(d.lookup("Close"));
        ASSERT_TRUE(a == stored || b == stored) << str(a) << " / " << str(b) << " / " << str(stored);
        const QString later = a == stored ? a : b;
        const QString earlier = a == stored ? b : a;
        EXPECT_TRUE(filled(later).startsWith(filled(earlier) + "|")) << str(earlier) << " / " << str(later);
        const QStringList kept = stored.split('|');
        EXPECT_EQ(QSet<QString>(kept.begin(), kept.end()),
            known ? QSet<QString>({"Raw", "Schliessen", "Zumachen", "Schliessen2", "Zumachen2"})
                  : QSet<QString>({"Raw", "Schliessen", "Zumachen", ""}));
    }
}

TEST_F(ServerDictionaryTest, EightProcessesStoringIntoOneTableLoseNothing)
{
    constexpr int kWorkers = 8;
    constexpr int kEach = 150;
    QString error;
    ASSERT_TRUE(createTable("team", 50, at(), &error)) << str(error);
    std::vector<std::unique_ptr<QProcess>> workers;
    const DictionaryServer s = at().server;
    for (int w = 0; w < kWorkers; ++w) {
        auto p = std::make_unique<QProcess>();
        p->start(LINGROVE_STORE_WORKER,
            {s.host, QString::number(s.port), s.database, s.user, "team", QString::number(w), QString::number(kEach)});
        workers.push_back(std::move(p));
    }
    for (auto& p : workers) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    Dictionary d;
    ASSERT_TRUE(d.open("team", at()));
    EXPECT_EQ(d.count(), kWorkers * kEach + kEach / 10);
    int missing = 0;
    for (int w = 0; w < kWorkers; ++w)
        for (int i = 0; i < kEach; ++i) {
            Proposals dests;
            Proposals wanted;
            wanted[0] = QString("T %1-%2").arg(w).arg(i);
            if (!d.find(QString("Text %1-%2").arg(w).arg(i), &dests) || dests != wanted)
                ++missing;
        }
    EXPECT_EQ(missing, 0);
    // Eight translations of each shared source: the first five to commit.
    for (int k = 0; k < kEach / 10; ++k) {
        const Proposals shared = d.lookup(QString("Shared %1").arg(k));
        QSet<QString> distinct;
        for (const QString& t : shared) {
            EXPECT_TRUE(QRegularExpression("^W[0-7]$").match(t).hasMatch()) << str(joined(shared));
            distinct << t;
        }
        EXPECT_EQ(distinct.size(), 5) << str(joined(shared));
    }
}

TEST_F(ServerDictionaryTest, AServerThatIsAwayIsNamedAndGivenUpWithinTheConnectTimeout)
{
    QString error;
    // Nobody listens on the port: refused at once.
    Socket closed(false);
    DictionaryServer away = at().server;
    away.port = closed.port;
    QElapsedTimer clock;
    clock.start();
    Dictionary d;
    EXPECT_FALSE(d.open("t", DictionaryLocation::onServer(away), &error));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_TRUE(error.contains(QString("dictionary server 127.0.0.1:%1/%2").arg(closed.port).arg(database_)))
        << str(error);
    QStringList names;
    EXPECT_FALSE(listTables(DictionaryLocation::onServer(away), &names, &error));
    EXPECT_TRUE(error.contains(QString("127.0.0.1:%1").arg(closed.port))) << str(error);
    EXPECT_FALSE(createTable("t", 50, DictionaryLocation::onServer(away), &error));

    // Something listens and never answers: given up after the connect timeout.
    Socket silent(true);
    away.port = silent.port;
    clock.restart();
    EXPECT_FALSE(d.open("t", DictionaryLocation::onServer(away), &error));
    EXPECT_GE(clock.elapsed(), 1500);
    EXPECT_LT(clock.elapsed(), 8000);
    EXPECT_TRUE(error.contains(QString("127.0.0.1:%1").arg(silent.port))) << str(error);
}

TEST_F(ServerDictionaryTest, RefusedPasswordsAreReportedAndAPasswordIsAskedForOncePerSession)
{
    QString error;
    ASSERT_TRUE(createTable("t", 50, at(), &error)) << str(error);
    Dictionary d;
    qputenv("PGPASSWORD", "wrong");
    EXPECT_FALSE(d.open("t", at(), &error));
    EXPECT_TRUE(error.contains("dictionary server " + at().server.describe())) << str(error);
    EXPECT_TRUE(error.contains("password authentication failed")) << str(error);

    // No password anywhere and nobody to ask.
    qunsetenv("PGPASSWORD");
    EXPECT_FALSE(d.open("t", at(), &error));
    EXPECT_TRUE(error.contains("wants a password")) << str(error);

    // Asked once: the answer serves the rest of the session.
    int asked = 0;
    QString answer = "not it";
    setPasswordPrompt([&](const DictionaryServer& server, const QString&) {
        ++asked;
        EXPECT_EQ(server.user, "anna");
        return std::optional<QString>(answer);
    });
    EXPECT_FALSE(d.open("t", at(), &error));
    EXPECT_TRUE(error.contains("password authentication failed")) << str(error);
    answer = kAnnaPassword;
    EXPECT_TRUE(d.open("t", at(), &error)) << str(error);
    Dictionary second;
    EXPECT_TRUE(second.open("t", at(), &error)) << str(error);
    EXPECT_EQ(asked, 2);
    setPasswordPrompt({});
    detail::forgetPassword(at().server);
}

TEST_F(ServerDictionaryTest, AConnectionLostInTheMiddleOfAStoreIsReportedAndTheStoreRepeated)
{
    QString error;
    ASSERT_TRUE(createTable("t", 50, at(), &error)) << str(error);
    {
        Dictionary d;
        ASSERT_TRUE(d.open("t", at()));
        ASSERT_TRUE(d.store("File", "Datei"));
        // Ended by the server (an administrator, a restart) while idle: the
        // next store connects again by itself.
        admin({"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE usename = 'anna'"});
        EXPECT_TRUE(d.store("Edit", "Bearbeiten")) << str(d.lastError());
        EXPECT_EQ(d.lookup("Edit"), props({"Bearbeiten"}));
    }

    // The translation loop: a store waits for a record another connection
    // holds, and the server goes down meanwhile.
    const QString relation = "lingrove." + adminQuery("SELECT \"Relation\" FROM lingrove.tables").value(0);
    Workspace workspace;
    ASSERT_TRUE(workspace.dictionary().open("t", at(), &error)) << str(error);
    TranslationSession session(workspace);
    QTextDocument doc;
    doc.setPlainText("  Caption := 'File';\n");
    session.collect(&doc);
    const auto located = session.locate(&doc, 0);
    ASSERT_TRUE(located);
    EXPECT_EQ(session.proposals(), props({"Datei"}));
    QTextCursor cursor(&doc);
    cursor.setPosition(located->start);
    cursor.setPosition(located->start + located->length, QTextCursor::KeepAnchor);

    auto holder = std::make_unique<Holder>(server_->port(), database_);
    holder->exec("BEGIN");
    holder->exec("SELECT * FROM " + relation + " WHERE \"Source\" = 'File' FOR UPDATE");
    std::thread stopper([&] {
        QElapsedTimer clock;
        clock.start();
        while (
            server_->query("SELECT count(*) FROM pg_stat_activity WHERE wait_event_type = 'Lock'").value(0).toInt() < 1
            && clock.elapsed() < 4000)
            QThread::msleep(20);
        server_->stop();
    });
    QElapsedTimer clock;
    clock.start();
    const auto done = session.commit(0, "Akte", cursor);
    stopper.join();
    holder.reset();
    ASSERT_TRUE(done);
    EXPECT_LT(clock.elapsed(), 7000);
    EXPECT_EQ(doc.firstBlock().text(), "  Caption := 'Akte';") << "the page keeps the translation";
    EXPECT_TRUE(done->storeError.contains("dictionary server " + at().server.describe())) << str(done->storeError);

    // Nothing half-written; once the server is back the store is repeated.
    ASSERT_TRUE(server_->restart(&error)) << str(error);
    Dictionary& d = workspace.dictionary();
    EXPECT_EQ(d.lookup("File"), props({"Datei"}));
    ASSERT_TRUE(d.store(session.source(), "Akte")) << str(d.lastError());
    EXPECT_EQ(d.lookup("File"), props({"Datei", "Akte"}));
}

TEST_F(ServerDictionaryTest, ATeamSharesTablesAndReadersOnlyLookUp)
{
    // anna makes the table; it belongs to the team's role, so bob may use it.
    QString error;
    ASSERT_TRUE(createTable("team", 50, at("anna"), &error)) << str(error);
    admin({"CREATE ROLE guest LOGIN PASSWORD 'guest'", "GRANT USAGE ON SCHEMA lingrove TO guest",
        "GRANT SELECT ON ALL TABLES IN SCHEMA lingrove TO guest"});
    EXPECT_EQ(adminQuery("SELECT tableowner FROM pg_tables WHERE schemaname = 'lingrove' AND tablename LIKE 'd%'"),
        QStringList("translators"));
    detail::rememberPassword(at("bob").server, kBobPassword);
    detail::rememberPassword(at("guest").server, "guest");
    Dictionary anna, bob, guest;
    ASSERT_TRUE(anna.open("team", at("anna"), &error)) << str(error);
    ASSERT_TRUE(bob.open("team", at("bob"), &error)) << str(error);
    ASSERT_TRUE(anna.store("Open", "Öffnen"));
    ASSERT_TRUE(bob.store("Open", "Aufmachen")) << str(bob.lastError());
    ASSERT_TRUE(guest.open("team", at("guest"), &error)) << str(error);
    EXPECT_FALSE(anna.isReadOnly());
    EXPECT_TRUE(guest.isReadOnly());
    EXPECT_EQ(guest.lookup("Open"), props({"Öffnen", "Aufmachen"}));
    EXPECT_FALSE(guest.store("Open", "x"));
    EXPECT_TRUE(guest.lastError().contains("cannot be written")) << str(guest.lastError());
    detail::forgetPassword(at("bob").server);
    detail::forgetPassword(at("guest").server);
}

TEST_F(ServerDictionaryTest, TablesAreCopiedToTheServerAndBackAsTheyAre)
{
    QString error;
    ASSERT_TRUE(createTable("Words", 30, local(), &error));
    {
        Dictionary d;
        ASSERT_TRUE(d.open("Words", local()));
        for (const char* t : {"Eins", "Zwei", "Drei", "Vier", "Fuenf"})
            ASSERT_TRUE(d.store("Full", t));
        ASSERT_TRUE(d.store("Open", "Öffnen"));
        ASSERT_TRUE(d.store("Zebra", "Zebra"));
        ASSERT_TRUE(d.store("Long " + QString(3000, 'x'), "Lang"));
    }
    // A record with no translation and a gap between slots survive the copy.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "raw");
        db.setDatabaseName(tableFilePath("Words", local().folder));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("INSERT INTO Dictionary (Source, Dest2) VALUES ('Gap', 'Zweiter')"));
        ASSERT_TRUE(q.exec("INSERT INTO Dictionary (Source) VALUES ('Empty')"));
    }
    QSqlDatabase::removeDatabase("raw");
    auto records = [](const DictionaryLocation& where, const QString& name) {
        QStringList out;
        Dictionary d;
        EXPECT_TRUE(d.open(name, where));
        d.forEachRecord([&](const QString& s, const Proposals& p) { out << s.left(20) + "=" + joined(p); });
        out << QString::number(d.fieldSize());
        return out;
    };
    const QStringList original = records(local(), "Words");

    CopyReport report;
    ASSERT_TRUE(copyTable(local(), "Words", at(), "Words", &report, &error)) << str(error);
    EXPECT_TRUE(report.created);
    EXPECT_EQ(report.records, 6);
    EXPECT_EQ(records(at(), "Words"), original);
    ASSERT_TRUE(copyTable(at(), "Words", local(), "Back", &report, &error)) << str(error);
    EXPECT_EQ(records(local(), "Back"), original);

    // Into a table that exists: merged, nothing replaced.
    {
        Dictionary d;
        ASSERT_TRUE(d.open("Words", at()));
        ASSERT_TRUE(d.store("Open", "Aufmachen"));
        ASSERT_TRUE(d.store("New", "Neu"));
    }
    ASSERT_TRUE(copyTable(at(), "Words", local(), "Words", &report, &error)) << str(error);
    EXPECT_FALSE(report.created);
    EXPECT_EQ(report.added, 1);
    EXPECT_EQ(report.updated, 1);
    Dictionary d;
    ASSERT_TRUE(d.open("Words", local()));
    EXPECT_EQ(d.lookup("Open"), props({"Öffnen", "Aufmachen"}));
    EXPECT_EQ(d.lookup("Full"), props({"Eins", "Zwei", "Drei", "Vier", "Fuenf"}));

    EXPECT_FALSE(copyTable(at(), "Words", at(), "words", &report, &error));
    EXPECT_FALSE(copyTable(at(), "Missing", local(), "x", &report, &error));
    EXPECT_TRUE(error.contains("does not exist on the server")) << str(error);
}

TEST_F(ServerDictionaryTest, CommandLineCopiesTablesBetweenThisComputerAndTheServer)
{
    QString error;
    ASSERT_TRUE(createTable("Words", 50, local(), &error));
    {
        Dictionary d;
        ASSERT_TRUE(d.open("Words", local()));
        ASSERT_TRUE(d.store("Open", "Öffnen"));
    }
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LINGROVE_HOME", home_.path());
    env.insert("LINGROVE_KEYSTORE", home_.path() + "/registry.txt");
    const DictionaryServer s = at().server;
    env.insert("PGHOST", s.host);
    env.insert("PGPORT", QString::number(s.port));
    env.insert("PGDATABASE", s.database);
    env.insert("PGUSER", s.user);
    cli.setProcessEnvironment(env);
    cli.start(LINGROVE_CLI, {"copytable", "sqlite:Words", "postgresql:Team words"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(cli.readAllStandardOutput().contains("Copied 1 record"));
    Dictionary d;
    ASSERT_TRUE(d.open("Team words", at()));
    EXPECT_EQ(d.lookup("Open"), props({"Öffnen"}));

    // The server away: a message naming it, a failing exit status.
    env.insert("PGPORT", QString::number(Socket(false).port));
    cli.setProcessEnvironment(env);
    cli.start(LINGROVE_CLI, {"copytable", "postgresql:Team words", "sqlite:Back"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_TRUE(cli.readAllStandardError().contains("dictionary server 127.0.0.1"));
}

} // namespace
