// lingrove-cli export, import, stats and pretranslate as a user calls them,
// and the exchange files checked against independent tools: what we export
// is read by translate-toolkit (pocount, po2tmx, po2xliff, xliff2po, its TMX
// reader) and by Qt's lconvert, and what they write imports back to the
// same pairs.
#include "model/Dictionary.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace lingrove::model;

namespace {

std::string str(const QString& s)
{
    return s.toStdString();
}

struct Outcome {
    int status = -1;
    QString out;
};

// Runs program with args in the test's program folder and key store.
Outcome run(const QString& program, const QStringList& args, const QString& home)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LINGROVE_HOME", home);
    env.insert("LINGROVE_KEYSTORE", home + "/registry.txt");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    Outcome r;
    if (!p.waitForFinished(120000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAll());
    return r;
}

using Pairs = std::map<QString, std::set<QString>>;

// Texts with what XML, PO and shells make hard, two translations of one
// source, and a source with "&" that the table keeps without it.
const std::vector<std::pair<QString, QString>> kPairs = {
    {"He said \"hello\" & left", "Er sagte „hallo“ & ging"},
    {"a < b > c ]]> &amp;", "a < b > c!"},
    {"Line one\nLine two", "Zeile eins\nZeile zwei"},
    {" Name: ", " Nom : "},
    {"Tab\there, C:\\temp\\", "Tab\tda, C:\\Temp\\"},
    {"Don't save", "Nicht speichern's"},
    {"%d files of %s", "%d Dateien von %s"},
    {"ファイルを開く", "Открыть файл"},
    {"مرحبا بالعالم", "Hallo Welt ✅ 😀"},
    {"Open", "Öffnen"},
    {"Open", "Aufmachen"},
};

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        home = dir.filePath("home");
        QDir().mkpath(home + "/DB");
        // The table filled as another program would: texts as they are.
        qputenv("LINGROVE_HOME", home.toLocal8Bit());
        QString error;
        ASSERT_TRUE(createTable("Words", 50, &error, home + "/DB")) << str(error);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fill");
            db.setDatabaseName(home + "/DB/Words.db");
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            for (const auto& [source, translation] : kPairs) {
                q.prepare("SELECT count(*) FROM Dictionary WHERE Source = ?");
                q.addBindValue(source);
                q.exec();
                q.next();
                const bool known = q.value(0).toInt() > 0;
                q.prepare(known ? "UPDATE Dictionary SET Dest2 = ? WHERE Source = ?"
                                : "INSERT INTO Dictionary (Dest1, Source) VALUES (?, ?)");
                q.addBindValue(translation);
                q.addBindValue(source);
                ASSERT_TRUE(q.exec());
            }
        }
        QSqlDatabase::removeDatabase("fill");
    }

    Outcome cli(const QStringList& args) { return run(LINGROVE_CLI, args, home); }

    // The pairs of table, or of the test's own list taken as the table
    // keeps texts ("&" removed).
    Pairs table(const QString& name)
    {
        Pairs out;
        Dictionary d;
        EXPECT_TRUE(d.open(name, nullptr, home + "/DB")) << str(name);
        d.forEachRecord([&](const QString& source, const Proposals& dests) {
            for (const QString& t : dests)
                if (!t.isEmpty())
                    out[source].insert(t);
        });
        return out;
    }
    static Pairs expected(bool withoutAmpersand)
    {
        Pairs out;
        for (const auto& [s, t] : kPairs)
            out[withoutAmpersand ? withoutAmpersands(s) : s].insert(withoutAmpersand ? withoutAmpersands(t) : t);
        return out;
    }

    // Exports Words into name (in the test's folder) and returns its path.
    QString exported(const QString& name)
    {
        const QString path = dir.filePath(name);
        const Outcome r = cli({"export", "Words", path, "--source-lang", "de", "--target-lang", "en"});
        EXPECT_EQ(r.status, 0) << str(r.out);
        EXPECT_TRUE(r.out.contains("Exported 11 units")) << str(r.out);
        return path;
    }

    // Imports path into a new table name and returns its pairs.
    Pairs imported(const QString& name, const QString& path, const QStringList& more = {})
    {
        const Outcome r = cli(QStringList{"import", name, path} + more);
        EXPECT_EQ(r.status, 0) << str(r.out);
        EXPECT_TRUE(r.out.contains("10 added, 0 updated, 0 conflicting")) << str(r.out);
        return table(name);
    }

    // Runs an independent tool; skips the test when it is not installed.
    Outcome tool(const QString& program, const QStringList& args)
    {
        const Outcome r = run(program, args, home);
        EXPECT_EQ(r.status, 0) << str(program) << ": " << str(r.out);
        return r;
    }

    QTemporaryDir dir;
    QString home;
};

#define NEED(program)                                                                              \
    if (!QFile::exists(program))                                                                   \
        GTEST_SKIP() << program << " is not installed (scripts/setup installs it)";

TEST_F(ToolkitTest, PoWeExportIsReadByTranslateToolkitAndLconvert)
{
    NEED(POCOUNT);
    NEED(LCONVERT);
    const QString po = exported("words.po");
    // pocount counts every unit as translated.
    const Outcome count = tool(POCOUNT, {po});
    EXPECT_TRUE(QRegularExpression("Translated:\\s+11 \\(100%\\)").match(count.out).hasMatch()) << str(count.out);

    tool(PO2TMX, {"-i", po, "-o", dir.filePath("po2tmx.tmx"), "-l", "en", "--source-language", "de"});
    // po2tmx names "en" as srclang in the header whatever it is told; the
    // source language is given.
    EXPECT_EQ(imported("FromPo2tmx", dir.filePath("po2tmx.tmx"), {"--source-lang", "de"}), expected(true));

    tool(PO2XLIFF, {"-i", po, "-o", dir.filePath("po2xliff.xlf")});
    EXPECT_EQ(imported("FromPo2xliff", dir.filePath("po2xliff.xlf")), expected(true));

    tool(LCONVERT, {"-i", po, "-o", dir.filePath("lconvert.xlf")});
    EXPECT_EQ(imported("FromLconvertXlf", dir.filePath("lconvert.xlf")), expected(true));
}

TEST_F(ToolkitTest, XliffWeExportIsReadByTranslateToolkitAndLconvert)
{
    NEED(XLIFF2PO);
    NEED(LCONVERT);
    const QString xlf = exported("words.xlf");
    const Outcome count = tool(POCOUNT, {xlf});
    EXPECT_TRUE(QRegularExpression("Translated:\\s+11 \\(100%\\)").match(count.out).hasMatch()) << str(count.out);

    tool(XLIFF2PO, {"-i", xlf, "-o", dir.filePath("xliff2po.po")});
    EXPECT_EQ(imported("FromXliff2po", dir.filePath("xliff2po.po")), expected(true));

    tool(LCONVERT, {"-i", xlf, "-o", dir.filePath("lconvert.po")});
    QFile po(dir.filePath("lconvert.po"));
    ASSERT_TRUE(po.open(QIODevice::ReadOnly));
    EXPECT_TRUE(po.readAll().contains(R"(msgid "He said \"hello\" & left")"))
        << "quotes and the ampersand reach lconvert as they were";
    EXPECT_EQ(imported("FromLconvertPo", dir.filePath("lconvert.po")), expected(true));
}

TEST_F(ToolkitTest, TmxWeExportIsReadByTranslateToolkit)
{
    NEED(POCOUNT);
    NEED(PYTHON);
    const QString tmx = exported("words.tmx");
    const Outcome count = tool(POCOUNT, {tmx});
    EXPECT_TRUE(QRegularExpression("Total:\\s+11\\b").match(count.out).hasMatch()) << str(count.out);

    // translate-toolkit's own TMX reader gives every text exactly.
    const Outcome read = tool(PYTHON, {"-c", "import json, sys\n"
                                         "from translate.storage import tmx\n"
                                         "f = tmx.tmxfile.parsefile(sys.argv[1])\n"
                                         "print(json.dumps([[u.source, u.target] for u in f.units]))",
                                   tmx});
    Pairs seen;
    for (const QJsonValue& unit : QJsonDocument::fromJson(read.out.toUtf8()).array())
        seen[unit[0].toString()].insert(unit[1].toString());
    EXPECT_EQ(seen, expected(false));
    EXPECT_EQ(imported("FromTmx", tmx), expected(true));
}

TEST_F(ToolkitTest, ImportNeverOverwritesAndNamesConflicts)
{
    const QString po = dir.filePath("other.po");
    QFile f(po);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("msgid \"Open\"\nmsgstr \"Eröffnen\"\n\nmsgid \"Close\"\nmsgstr \"Schließen\"\n");
    f.close();
    Outcome r = cli({"import", "Words", po, "--dry-run"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains("conflict: \"Open\": the file has \"Eröffnen\", the table \"Öffnen\", "
                               "\"Aufmachen\"; not stored"))
        << str(r.out);
    EXPECT_TRUE(r.out.contains("Dry run, nothing written: 1 added, 0 updated, 1 conflicting")) << str(r.out);
    EXPECT_EQ(table("Words"), expected(false));

    r = cli({"import", "Words", po, "--alternatives"});
    EXPECT_TRUE(r.out.contains("1 added, 1 updated, 0 conflicting")) << str(r.out);
    EXPECT_EQ(table("Words")["Open"], (std::set<QString>{"Öffnen", "Aufmachen", "Eröffnen"}));

    EXPECT_EQ(cli({"import", "Words", dir.filePath("x.csv")}).status, 2);
    r = cli({"import", "Words", dir.filePath("missing.po")});
    EXPECT_EQ(r.status, 1);
}

TEST_F(ToolkitTest, StatsAndPretranslateOnTheDemoProject)
{
    // The demo project and a table that knows some of its texts.
    const QString demo = dir.filePath("demo");
    QDir().mkpath(demo);
    for (const QString& name : QDir(LINGROVE_SOURCE_ROOT "/examples/demo").entryList(QDir::Files))
        QFile::copy(LINGROVE_SOURCE_ROOT "/examples/demo/" + name, demo + "/" + name);
    QFile lgv(dir.filePath("Demo.lgv"));
    ASSERT_TRUE(lgv.open(QIODevice::WriteOnly));
    lgv.write(("[General]\r\nProjectname=Demo\r\nProjectfolder=" + dir.path() + "\r\nFilename=" + demo
               + "/Demo.dpr\r\nSource=German\r\nDestination=English\r\nDatabase=Demo\r\n")
                  .toUtf8());
    lgv.close();
    const QString po = dir.filePath("demo.po");
    QFile f(po);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("msgid \"Bereit\"\nmsgstr \"Ready\"\n\nmsgid \"&Datei\"\nmsgstr \"&File\"\n");
    f.close();
    ASSERT_EQ(cli({"import", "Demo", po}).status, 0);
    const QByteArray form = [&] {
        QFile m(demo + "/Main.dfm");
        return m.open(QIODevice::ReadOnly) ? m.readAll() : QByteArray();
    }();

    Outcome r = cli({"stats", dir.filePath("Demo.lgv")});
    EXPECT_EQ(r.status, 0) << str(r.out);
    EXPECT_TRUE(QRegularExpression("main\\.dfm\\s+20\\s+0\\s+20\\s+2\\s").match(r.out).hasMatch()) << str(r.out);
    EXPECT_TRUE(r.out.contains("0 of 39 entries translated (0%)")) << str(r.out);

    r = cli({"pretranslate", dir.filePath("Demo.lgv"), "--dry-run"});
    EXPECT_EQ(r.status, 0) << str(r.out);
    EXPECT_TRUE(r.out.contains("main.dfm: 2 entries to write")) << str(r.out);
    EXPECT_TRUE(r.out.contains("  73:18  '&Datei' -> 'File'\n"
                               "      warning: The source has the accelerator &D, the translation none."))
        << str(r.out);
    EXPECT_TRUE(r.out.contains("Dry run: 2 entries in 1 file would be pre-translated; nothing was written."));

    r = cli({"pretranslate", dir.filePath("Demo.lgv")});
    EXPECT_TRUE(r.out.contains("2 entries in 1 file pre-translated.")) << str(r.out);
    QFile m(demo + "/Main.dfm");
    ASSERT_TRUE(m.open(QIODevice::ReadOnly));
    EXPECT_NE(m.readAll(), form);
    r = cli({"stats", dir.filePath("Demo.lgv")});
    EXPECT_TRUE(r.out.contains("2 of 39 entries translated (5%)")) << str(r.out);

    EXPECT_EQ(cli({"stats", dir.filePath("missing.lgv")}).status, 1);
    EXPECT_EQ(cli({"pretranslate"}).status, 2);
}

} // namespace
