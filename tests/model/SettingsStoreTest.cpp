// The settings in the key store, the compiler's dcc32.cfg and the Delphi
// IDE's library path.
#include "model/CompilerConfig.h"
#include "model/DelphiInstallation.h"
#include "model/LibraryPath.h"
#include "model/SettingsStore.h"
#include "platform/KeyStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lingrove;
using namespace lingrove::model;
using platform::KeyStore;

namespace {

const QString kKey = QString::fromLatin1(delphi::kSettingsKey);

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class SettingsStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    KeyStore store{dir.filePath("registry.txt")};
    Settings settings = Settings::defaults();
};

} // namespace

TEST_F(SettingsStoreTest, SaveThenLoadRestoresEverything)
{
    Settings s;
    s.compiler = ToolPath::fromStored("C:\\D\\bin\\dcc32.exe");
    s.ide = ToolPath::fromStored("C:\\D\\bin\\delphi32.exe");
    s.resourceCompiler = ToolPath::fromStored("C:\\R\\brcc32.exe");
    s.accept.Fonts = s.accept.Extentions = true;
    s.colourScheme = 3;
    s.selectedLook = {QColor(10, 20, 30), true, false, false, false};
    s.changedLook.strikeOut = true;
    ASSERT_TRUE(settings_store::save(store, s, false));
    // Written as "ResComp", read as "Rescomp"; colours as 0x00BBGGRR.
    EXPECT_TRUE(store.valueNames(kKey).contains("ResComp"));
    EXPECT_EQ(store.readInteger(kKey, "SFC"), 0x1E140A);

    // A new run: the defaults, then the stored values, from another reader.
    KeyStore again(store.file());
    settings_store::load(again, settings);
    EXPECT_EQ(settings.compiler.folder, "C:\\D\\bin\\");
    EXPECT_EQ(settings.ide, s.ide);
    EXPECT_EQ(settings.resourceCompiler, s.resourceCompiler);
    EXPECT_TRUE(settings.accept.Fonts && settings.accept.Extentions);
    EXPECT_FALSE(settings.accept.Empty || settings.accept.Numbers || settings.accept.DateTime
                 || settings.accept.Dirs || settings.accept.Separator);
    EXPECT_EQ(settings.colourScheme, 3);
    EXPECT_EQ(settings.selectedLook, s.selectedLook);
    EXPECT_EQ(settings.changedLook, s.changedLook);
}

TEST_F(SettingsStoreTest, DictionaryServerIsKeptAndOlderStoresMeanThisComputer)
{
    // Settings stored before the server could be chosen: this computer.
    ASSERT_TRUE(settings_store::save(store, settings, false));
    QByteArray lines;
    for (const QByteArray& line : readAll(store.file()).split('\n'))
        if (!line.startsWith("Dictionaries=") && !line.startsWith("Server"))
            lines += line + '\n';
    writeFile(store.file(), lines);
    Settings before = Settings::defaults();
    before.dictionary.kind = DictionaryLocation::Kind::Server;
    settings_store::load(KeyStore(store.file()), before);
    EXPECT_EQ(before.dictionary, DictionaryLocation());

    Settings s = Settings::defaults();
    s.dictionary = DictionaryLocation::onServer({"db.example.org", 6543, "lingrove", "anna", "verify-full"});
    ASSERT_TRUE(settings_store::save(store, s, true));
    Settings back = Settings::defaults();
    settings_store::load(KeyStore(store.file()), back);
    EXPECT_EQ(back.dictionary, s.dictionary);

    // Missing or odd values: this computer, libpq's defaults.
    for (const char* name : {"Dictionaries", "ServerPort"})
        store.writeString(kKey, name, "nonsense");
    store.writeString(kKey, "ServerSslMode", "prefer sslcert=/tmp/x");
    Settings odd = Settings::defaults();
    settings_store::load(KeyStore(store.file()), odd);
    EXPECT_FALSE(odd.dictionary.isServer());
    EXPECT_EQ(odd.dictionary.server.port, 0);
    EXPECT_EQ(odd.dictionary.server.sslMode, "prefer");
    EXPECT_EQ(odd.dictionary.server.host, "db.example.org");
}

TEST_F(SettingsStoreTest, ReplaceRewritesTheKeyWhole)
{
    store.writeInteger(kKey, "Stale", 5);
    ASSERT_TRUE(settings_store::save(store, settings, false));
    EXPECT_TRUE(store.valueExists(kKey, "Stale"));

    // A scheme other than 2 or 3 is not written.
    settings.colourScheme = 7;
    ASSERT_TRUE(settings_store::save(store, settings, true));
    EXPECT_FALSE(store.valueExists(kKey, "Stale"));
    EXPECT_FALSE(store.valueExists(kKey, "Highlights"));

    // A store that cannot be written.
    writeFile(dir.filePath("plain"), "x");
    KeyStore blocked(dir.filePath("plain/registry.txt"));
    bool saved = true;
    try {
        saved = settings_store::save(blocked, settings, false);
    } catch (const platform::KeyStoreError&) {
        saved = false;
    }
    EXPECT_FALSE(saved);
    EXPECT_FALSE(blocked.keyExists(kKey));
}

TEST_F(SettingsStoreTest, LoadStopsAtAValueThatIsNotAnInteger)
{
    store.writeString(kKey, "Compiler", "C:\\D\\bin\\dcc32.exe");
    store.writeInteger(kKey, "Empty", 1);
    store.writeString(kKey, "Numbers", "1");   // a string, not an integer
    store.writeInteger(kKey, "Fonts", 1);
    EXPECT_THROW(settings_store::load(store, settings), platform::KeyStoreError);
    EXPECT_EQ(settings.compiler.folder, "C:\\D\\bin\\");
    EXPECT_TRUE(settings.accept.Empty);
    EXPECT_FALSE(settings.accept.Fonts);   // read after the failure: untouched
    EXPECT_EQ(settings.selectedLook, Settings::defaults().selectedLook);
}

TEST_F(SettingsStoreTest, CompilerConfigurationKeepsTheLastOptionsAndWritesTwoLines)
{
    EXPECT_EQ(compiler_config::optionValue("-U\"C:\\lib\""), "C:\\lib");
    EXPECT_EQ(compiler_config::optionValue("-aWinTypes=Windows;WinProcs=Windows"),
              "WinTypes=Windows;WinProcs=Windows");
    EXPECT_EQ(compiler_config::optionValue("-u\"C:\\my lib\"  "), "C:\\my lib");
    for (const char* shortLine : {"-U", "-u\"", "-A\"\"", "-", ""})
        EXPECT_EQ(compiler_config::optionValue(QString::fromLatin1(shortLine)), QString()) << shortLine;

    const QString cfg = dir.filePath("dcc32.cfg");
    writeFile(cfg, "-$A+\r\n-U\"C:\\old\"\r\n-U\"C:\\lib\"\r\n-a\"WinTypes=Windows\"\r\n-B\r\n");
    const auto lines = compiler_config::read(cfg);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 5);
    EXPECT_EQ(lines->at(2), "-U\"C:\\lib\"");
    const CompilerOptions o = compiler_config::options(*lines);
    EXPECT_EQ(o.searchPath, "C:\\lib");
    EXPECT_EQ(o.unitAliases, "WinTypes=Windows");

    ASSERT_TRUE(compiler_config::write(cfg, o));
    EXPECT_EQ(readAll(cfg), QByteArray("-a\"WinTypes=Windows\"\r\n-u\"C:\\lib\"\r\n"));

    // Lines ended by LF only; 8-bit bytes kept as they are.
    writeFile(cfg, "-u\"C:\\B\xFC" "cher\"\n-A\n");
    const CompilerOptions eight = compiler_config::options(*compiler_config::read(cfg));
    EXPECT_EQ(eight.searchPath, QString::fromLatin1("C:\\B\xFC" "cher"));
    EXPECT_EQ(eight.unitAliases, QString());
    ASSERT_TRUE(compiler_config::write(cfg, eight));
    EXPECT_EQ(readAll(cfg), QByteArray("-a\"\"\r\n-u\"C:\\B\xFC" "cher\"\r\n"));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"dcc32.cfg"}));

    // A missing file or folder.
    EXPECT_FALSE(compiler_config::read(dir.filePath("none.cfg")));
    QString why;
    EXPECT_FALSE(compiler_config::write(dir.filePath("none/dcc32.cfg"), {}, &why));
    EXPECT_TRUE(why.contains("does not exist")) << why.toStdString();
}

TEST_F(SettingsStoreTest, DelphiLibraryPathOfEachVersion)
{
    store.writeString(delphi::libraryKey(2), "SearchPath", "C:\\D2\\lib;C:\\x");
    store.writeString(delphi::libraryKey(2), "UnitAliases", "WinTypes=Windows");
    const LibraryPath two = delphiLibraryPath(store, 2);
    EXPECT_EQ(two.searchPath, "C:\\D2\\lib;C:\\x");
    EXPECT_EQ(two.unitAliases, "WinTypes=Windows");
    const LibraryPath three = delphiLibraryPath(store, 3);
    EXPECT_TRUE(three.searchPath.isEmpty() && three.unitAliases.isEmpty());
    EXPECT_FALSE(store.keyExists(delphi::libraryKey(3)));

    EXPECT_EQ(splitLibraryPath("C:\\A;C:\\B;"), QStringList({"C:\\A", "C:\\B", ""}));
    EXPECT_EQ(splitLibraryPath(";;C:\\A"), QStringList({"", "", "C:\\A"}));
    EXPECT_TRUE(splitLibraryPath(QString()).isEmpty());
    for (const char* path : {"C:\\A;C:\\B;", ";", "C:\\A"})
        EXPECT_EQ(joinLibraryPath(splitLibraryPath(QString::fromLatin1(path))), QString::fromLatin1(path));
}
