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
    KeyStore store{dir.filePath(QStringLiteral("registry.txt"))};
    Settings settings = Settings::defaults();
};

} // namespace

TEST_F(SettingsStoreTest, SaveThenLoadRestoresEverything)
{
    Settings s;
    s.compiler = ToolPath::fromStored(QStringLiteral("C:\\D\\bin\\dcc32.exe"));
    s.ide = ToolPath::fromStored(QStringLiteral("C:\\D\\bin\\delphi32.exe"));
    s.resourceCompiler = ToolPath::fromStored(QStringLiteral("C:\\R\\brcc32.exe"));
    s.accept.Fonts = s.accept.Extentions = true;
    s.colourScheme = 3;
    s.selectedLook = {QColor(10, 20, 30), true, false, false, false};
    s.changedLook.strikeOut = true;
    ASSERT_TRUE(settings_store::save(store, s, false));

    EXPECT_TRUE(store.valueNames(kKey).contains(QStringLiteral("ResComp")));
    EXPECT_EQ(store.readString(kKey, QStringLiteral("Rescomp")), QStringLiteral("C:\\R\\brcc32.exe"));
    EXPECT_EQ(store.readInteger(kKey, QStringLiteral("SFC")), 0x1E140A);
    EXPECT_EQ(store.readInteger(kKey, QStringLiteral("SFB")), 1);
    EXPECT_EQ(store.readInteger(kKey, QStringLiteral("SFS")), 0);
    EXPECT_EQ(store.readInteger(kKey, QStringLiteral("CFC")), 32768);
    EXPECT_EQ(store.valueNames(kKey).size(), 21);

    // A new run: the defaults, then the stored values, from another reader.
    KeyStore again(store.file());
    settings_store::load(again, settings);
    EXPECT_EQ(settings.compiler, s.compiler);
    EXPECT_EQ(settings.compiler.folder, QStringLiteral("C:\\D\\bin\\"));
    EXPECT_EQ(settings.ide, s.ide);
    EXPECT_EQ(settings.resourceCompiler, s.resourceCompiler);
    EXPECT_TRUE(settings.accept.Fonts && settings.accept.Extentions);
    EXPECT_FALSE(settings.accept.Empty || settings.accept.Numbers || settings.accept.DateTime
                 || settings.accept.Dirs || settings.accept.Separator);
    EXPECT_EQ(settings.colourScheme, 3);
    EXPECT_EQ(settings.selectedLook, s.selectedLook);
    EXPECT_EQ(settings.changedLook, s.changedLook);
}

TEST_F(SettingsStoreTest, ReplaceRewritesTheKeyWhole)
{
    store.writeInteger(kKey, QStringLiteral("Stale"), 5);
    ASSERT_TRUE(settings_store::save(store, settings, false));
    EXPECT_TRUE(store.valueExists(kKey, QStringLiteral("Stale")));

    // A scheme other than 2 or 3 is not written.
    settings.colourScheme = 7;
    ASSERT_TRUE(settings_store::save(store, settings, true));
    EXPECT_FALSE(store.valueExists(kKey, QStringLiteral("Stale")));
    EXPECT_FALSE(store.valueExists(kKey, QStringLiteral("Highlights")));
    EXPECT_EQ(store.valueNames(kKey).size(), 20);
}

TEST_F(SettingsStoreTest, SaveIntoAStoreThatCannotBeWritten)
{
    writeFile(dir.filePath(QStringLiteral("plain")), "x");
    KeyStore blocked(dir.filePath(QStringLiteral("plain/registry.txt")));
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
    store.writeString(kKey, QStringLiteral("Compiler"), QStringLiteral("C:\\D\\bin\\dcc32.exe"));
    store.writeInteger(kKey, QStringLiteral("Empty"), 1);
    store.writeInteger(kKey, QStringLiteral("Dirs"), 1);
    store.writeString(kKey, QStringLiteral("Numbers"), QStringLiteral("1"));   // a string, not an integer
    store.writeInteger(kKey, QStringLiteral("Fonts"), 1);
    store.writeInteger(kKey, QStringLiteral("Highlights"), 3);

    EXPECT_THROW(settings_store::load(store, settings), platform::KeyStoreError);
    EXPECT_EQ(settings.compiler.folder, QStringLiteral("C:\\D\\bin\\"));
    EXPECT_TRUE(settings.accept.Empty);
    EXPECT_TRUE(settings.accept.Dirs);
    // Read after the failure: untouched.
    EXPECT_FALSE(settings.accept.Numbers);
    EXPECT_FALSE(settings.accept.Fonts);
    EXPECT_EQ(settings.colourScheme, 2);
}

TEST_F(SettingsStoreTest, LoadStopsPartWayThroughTheLooks)
{
    for (const char* name : {"Empty", "Dirs", "Numbers", "Fonts", "Extentions", "DateTime", "Separator"})
        store.writeInteger(kKey, QString::fromLatin1(name), 0);
    store.writeInteger(kKey, QStringLiteral("Highlights"), 0x103);   // only the low 8 bits count
    store.writeInteger(kKey, QStringLiteral("SFC"), 0xFF0000);       // blue
    store.writeInteger(kKey, QStringLiteral("SFB"), 1);
    // SFI is missing.
    EXPECT_THROW(settings_store::load(store, settings), platform::KeyStoreError);
    EXPECT_EQ(settings.colourScheme, 3);
    EXPECT_EQ(settings.selectedLook.color, QColor(0, 0, 255));
    EXPECT_TRUE(settings.selectedLook.bold);
    EXPECT_TRUE(settings.selectedLook.strikeOut);   // the default, never reached
    EXPECT_EQ(settings.changedLook, Settings::defaults().changedLook);
    // Missing strings read as empty: the default tools give way.
    EXPECT_TRUE(settings.compiler.stored().isEmpty());
}

TEST_F(SettingsStoreTest, CompilerConfigurationKeepsTheLastOptionsAndWritesTwoLines)
{
    EXPECT_EQ(compiler_config::optionValue(QStringLiteral("-U\"C:\\lib\"")), QStringLiteral("C:\\lib"));
    EXPECT_EQ(compiler_config::optionValue(QStringLiteral("-aWinTypes=Windows;WinProcs=Windows")),
              QStringLiteral("WinTypes=Windows;WinProcs=Windows"));
    EXPECT_EQ(compiler_config::optionValue(QStringLiteral("-u\"C:\\my lib\"  ")), QStringLiteral("C:\\my lib"));
    for (const char* shortLine : {"-U", "-u\"", "-A\"\"", "-", ""})
        EXPECT_EQ(compiler_config::optionValue(QString::fromLatin1(shortLine)), QString()) << shortLine;

    const QString cfg = dir.filePath(QStringLiteral("dcc32.cfg"));
    writeFile(cfg, "-$A+\r\n-U\"C:\\old\"\r\n-U\"C:\\lib\"\r\n-a\"WinTypes=Windows\"\r\n-B\r\n");
    const auto lines = compiler_config::read(cfg);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 5);
    EXPECT_EQ(lines->at(2), QStringLiteral("-U\"C:\\lib\""));
    const CompilerOptions o = compiler_config::options(*lines);
    EXPECT_EQ(o.searchPath, QStringLiteral("C:\\lib"));
    EXPECT_EQ(o.unitAliases, QStringLiteral("WinTypes=Windows"));

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
}

TEST_F(SettingsStoreTest, CompilerConfigurationMissingFileOrFolder)
{
    EXPECT_FALSE(compiler_config::read(dir.filePath(QStringLiteral("dcc32.cfg"))));
    QString why;
    EXPECT_FALSE(compiler_config::write(dir.filePath(QStringLiteral("none/dcc32.cfg")), {}, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("does not exist"))) << why.toStdString();
}

TEST_F(SettingsStoreTest, DelphiLibraryPathOfEachVersion)
{
    store.writeString(delphi::libraryKey(2), QStringLiteral("SearchPath"), QStringLiteral("C:\\D2\\lib;C:\\x"));
    store.writeString(delphi::libraryKey(2), QStringLiteral("UnitAliases"), QStringLiteral("WinTypes=Windows"));
    const LibraryPath two = delphiLibraryPath(store, 2);
    EXPECT_EQ(two.searchPath, QStringLiteral("C:\\D2\\lib;C:\\x"));
    EXPECT_EQ(two.unitAliases, QStringLiteral("WinTypes=Windows"));
    const LibraryPath three = delphiLibraryPath(store, 3);
    EXPECT_TRUE(three.searchPath.isEmpty() && three.unitAliases.isEmpty());
    EXPECT_FALSE(store.keyExists(delphi::libraryKey(3)));

    EXPECT_EQ(splitLibraryPath(QStringLiteral("C:\\A;C:\\B;")), QStringList({"C:\\A", "C:\\B", ""}));
    EXPECT_EQ(splitLibraryPath(QStringLiteral(";;C:\\A")), QStringList({"", "", "C:\\A"}));
    EXPECT_TRUE(splitLibraryPath(QString()).isEmpty());
    for (const char* path : {"C:\\A;C:\\B;", ";", "C:\\A"})
        EXPECT_EQ(joinLibraryPath(splitLibraryPath(QString::fromLatin1(path))), QString::fromLatin1(path));
}
