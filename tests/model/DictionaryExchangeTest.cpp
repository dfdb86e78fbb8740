// TMX, PO and XLIFF: what we write reads back the same, what other tools
// write (inline codes, headers, fuzzy and obsolete entries, other character
// sets) reads as they mean it, and an import merges without overwriting.
#include "DictionaryFixture.h"

#include "model/DictionaryExchange.h"

#include <QFile>

using namespace lingrove::model;
using lingrove::model::testing::DictionaryFolderTest;
using lingrove::model::testing::str;

namespace {

// "source => translation @ locations" lines of units.
QStringList pairs(const std::vector<ExchangeUnit>& units)
{
    QStringList out;
    for (const ExchangeUnit& u : units)
        out << u.source + " => " + u.translation + (u.locations.isEmpty() ? "" : " @ " + u.locations.join(','));
    return out;
}

ImportedFile read(const QByteArray& bytes, ExchangeFormat format, const ImportOptions& options = {})
{
    ImportedFile file;
    QString why;
    EXPECT_TRUE(readExchange(bytes, format, options, &file, &why)) << str(why);
    return file;
}

const std::vector<ExchangeUnit> kUnits = {
    {"He said \"hello\" & left", "Er sagte „hallo“ & ging", {"main.pas:12", "main.dfm:40"}},
    {"a < b > c ]]>", "a < b > c!", {}},
    {"Line one\nLine two", "Zeile eins\r\nZeile zwei", {}},
    {" Name: ", " Nom : ", {"about.pas:3"}},
    {"Tab\there, C:\\temp\\", "Tab\tda, C:\\Temp\\", {}},
    {"ファイルを開く", "Открыть файл 😀", {}},
    {"Open", "Öffnen", {}},
    {"Open", "Aufmachen", {}},
};

TEST(Exchange, EveryFormatReadsBackWhatItWrote)
{
    ExportOptions options;
    options.sourceLanguage = "de";
    options.targetLanguage = "en";
    options.original = "Words";
    for (ExchangeFormat format : {ExchangeFormat::Tmx, ExchangeFormat::Po, ExchangeFormat::Xliff}) {
        ExportResult result;
        const QByteArray bytes = writeExchange(kUnits, format, options, &result);
        EXPECT_EQ(result.units, int(kUnits.size()));
        const ImportedFile file = read(bytes, format);
        EXPECT_EQ(pairs(file.units), pairs(kUnits)) << bytes.toStdString();
        EXPECT_EQ(file.sourceLanguage, "de");
        EXPECT_EQ(file.targetLanguage, "en");
    }
    // A character XML cannot hold is left out of every format, and named.
    const std::vector<ExchangeUnit> bad = {{"Bell\aring", "Klingel", {}}, {"ok", "gut", {}}};
    for (ExchangeFormat format : {ExchangeFormat::Tmx, ExchangeFormat::Po, ExchangeFormat::Xliff}) {
        ExportResult result;
        const ImportedFile file = read(writeExchange(bad, format, options, &result), format);
        EXPECT_EQ(pairs(file.units), QStringList("ok => gut"));
        EXPECT_EQ(result.leftOut, QStringList("Bell\aring -> Klingel: the character U+0007 has no place in an "
                                              "exchange file"));
    }
}

TEST(Exchange, PoFromOtherToolsReadsAsMeant)
{
    const QByteArray po = "# translator comment\n"
                          "msgid \"\"\n"
                          "msgstr \"\"\n"
                          "\"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n"
                          "\"Language: de\\n\"\n"
                          "\n"
                          "#: a.c:1\n"
                          "#, c-format\n"
                          "msgid \"%d file\"\n"
                          "msgid_plural \"%d files\"\n"
                          "msgstr[0] \"%d Datei\"\n"
                          "msgstr[1] \"%d Dateien\"\n"
                          "\n"
                          "#, fuzzy\n"
                          "msgid \"Quit\"\n"
                          "msgstr \"Beenden\"\n"
                          "\n"
                          "msgctxt \"menu\"\n"
                          "msgid \"\"\n"
                          "\"Gr\xf6\xdf\"\n"
                          "\"e \\\"x\\\"\\t\\101\\x42\\n\"\n"
                          "msgstr \"Size\"\n"
                          "msgid \"Untranslated\"\n"
                          "msgstr \"\"\n"
                          "\n"
                          "#~ msgid \"Old\"\n"
                          "#~ msgstr \"Alt\"\n";
    const ImportedFile file = read(po, ExchangeFormat::Po);
    EXPECT_EQ(pairs(file.units), QStringList(QString::fromUtf8("Größe \"x\"\tAB\n => Size")));
    EXPECT_EQ(file.fuzzy, 1);
    EXPECT_EQ(file.untranslated, 1);
    EXPECT_EQ(file.other, 2) << "plural forms and the obsolete entry";
    EXPECT_EQ(file.targetLanguage, "de");

    ImportedFile none;
    QString why;
    EXPECT_FALSE(readExchange("msgid \"a\"\nmsgstr \"b\n", ExchangeFormat::Po, {}, &none, &why));
    EXPECT_EQ(why, "line 2: a malformed string");
}

TEST(Exchange, XmlFromOtherToolsReadsAsMeant)
{
    // XLIFF: inline codes, groups, a PO header turned unit, alternatives and
    // units that are not translated yet.
    const QByteArray xliff = R"(<?xml version="1.0"?>
<xliff version="1.2" xmlns="urn:oasis:names:tc:xliff:document:1.2"><file source-language="en" target-language="fr">
<body><group>
 <trans-unit id="h" restype="x-gettext-domain-header"><source>Project-Id-Version: x</source><target>y</target></trans-unit>
 <trans-unit id="1"><source>Click <g id="1">here</g><x id="2"/>!</source><target>Cliquez <g id="1">ici</g><ph id="3">{0}</ph>!</target>
  <alt-trans><source>Click</source><target>Appuyez</target></alt-trans></trans-unit>
 <trans-unit id="2"><source>New</source><target state="needs-translation">New</target></trans-unit>
 <trans-unit id="3"><source>Only source</source></trans-unit>
</group></body></file></xliff>)";
    const ImportedFile x = read(xliff, ExchangeFormat::Xliff);
    EXPECT_EQ(pairs(x.units), QStringList("Click here! => Cliquez ici!"));
    EXPECT_EQ(x.untranslated, 2);
    EXPECT_EQ(x.other, 1);

    // TMX: the source is the header's language, whatever the order.
    const QByteArray tmx = R"(<tmx version="1.4"><header srclang="en-US" creationtool="t" segtype="sentence"
 o-tmf="t" adminlang="en" datatype="plaintext"/><body>
<tu><tuv xml:lang="de-DE"><seg>Datei <bpt i="1">&lt;b&gt;</bpt>öffnen<ept i="1">&lt;/b&gt;</ept></seg></tuv>
    <tuv xml:lang="en-US"><seg>Open <hi>file</hi></seg></tuv>
    <tuv xml:lang="fr-FR"><seg>Ouvrir le fichier</seg></tuv></tu>
<tu><tuv xml:lang="en-US"><seg>Alone</seg></tuv></tu>
</body></tmx>)";
    EXPECT_EQ(pairs(read(tmx, ExchangeFormat::Tmx).units), QStringList("Open file => Datei öffnen"));
    ImportOptions french;
    french.targetLanguage = "fr";
    const ImportedFile fr = read(tmx, ExchangeFormat::Tmx, french);
    EXPECT_EQ(pairs(fr.units), QStringList("Open file => Ouvrir le fichier"));
    EXPECT_EQ(fr.untranslated, 1);
    ImportOptions german;
    german.sourceLanguage = "de";
    EXPECT_EQ(pairs(read(tmx, ExchangeFormat::Tmx, german).units), QStringList("Datei öffnen => Open file"));

    ImportedFile none;
    QString why;
    EXPECT_FALSE(readExchange("<tmx><body><tu>", ExchangeFormat::Tmx, {}, &none, &why));
    EXPECT_EQ(why, "line 1, column 15: Premature end of document.");
    EXPECT_FALSE(readExchange("<xliff2/>", ExchangeFormat::Tmx, {}, &none, &why));
}

TEST(Exchange, LanguageTagsAndFormatsByName)
{
    EXPECT_EQ(languageTag("english"), "en");
    EXPECT_EQ(languageTag("pt_BR"), "pt-BR");
    EXPECT_EQ(languageTag("Klingonisch?"), "und");
    EXPECT_EQ(exchangeFormatOf("a/b.XLIFF"), ExchangeFormat::Xliff);
    EXPECT_EQ(exchangeFormatOf("messages.pot"), ExchangeFormat::Po);
    EXPECT_EQ(exchangeFormatOf("notes.txt"), std::nullopt);
}

using ImportTest = DictionaryFolderTest;

TEST_F(ImportTest, ImportAddsAndReportsConflictsWithoutOverwriting)
{
    makeTable("t", {{"Open", "Öffnen"}, {"Close", "Schließen"}});
    ASSERT_TRUE(table_.open("t"));
    const QString path = home_.filePath("in.po");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("msgid \"&Open\"\nmsgstr \"&Aufmachen\"\n\n"
            "msgid \"Close\"\nmsgstr \"Schließen\"\n\n"
            "msgid \"Save\"\nmsgstr \"Speichern\"\n");
    f.close();

    ImportReport report;
    QString why;
    ASSERT_TRUE(importFile(table_, path, ExchangeFormat::Po, {}, {}, &report, &why)) << str(why);
    EXPECT_EQ((std::array{report.added, report.updated, report.conflicting, report.unchanged}),
              (std::array{1, 0, 1, 1}));
    EXPECT_EQ(report.results[0].notStored, QStringList("Aufmachen"));
    Proposals open;
    ASSERT_TRUE(table_.find("Open", &open));
    EXPECT_EQ(open[0], "Öffnen");
    EXPECT_TRUE(open[1].isEmpty());

    // Exported and read again: the table's pairs, one unit per translation.
    ASSERT_TRUE(importFile(table_, path, ExchangeFormat::Po, {}, {true, false}, &report, &why));
    EXPECT_EQ(report.updated, 1);
    const QString tmx = home_.filePath("out.tmx");
    ExportResult result;
    ASSERT_TRUE(exportTable(table_, tmx, ExchangeFormat::Tmx, {}, &result, &why)) << str(why);
    QFile back(tmx);
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(pairs(read(back.readAll(), ExchangeFormat::Tmx).units),
              QStringList({"Open => Öffnen", "Open => Aufmachen", "Close => Schließen", "Save => Speichern"}));
}

} // namespace
