#include "platform/KeyStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>

using lingrove::platform::KeyStore;
using lingrove::platform::KeyStoreError;

namespace {

const QString kSettings = QStringLiteral("SOFTWARE\\QUORVEX\\Lingrove\\2.0");

class KeyStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file() const { return dir.filePath(QStringLiteral("registry.txt")); }

    QByteArray fileBytes() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeBytes(const QByteArray& bytes) const
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(KeyStoreTest, KeyPathsAndValueNamesIgnoreCase)
{
    KeyStore store(file());
    store.writeString(kSettings, QStringLiteral("ResComp"), QStringLiteral("C:\\D\\bin\\brcc32.exe"));
    store.writeInteger(kSettings, QStringLiteral("Highlights"), 3);

    EXPECT_TRUE(store.keyExists(QStringLiteral("software\\quorvex\\LINGROVE\\2.0")));
    EXPECT_TRUE(store.keyExists(QStringLiteral("Software\\Quorvex")));   // parents exist too
    EXPECT_EQ(store.readString(QStringLiteral("software\\quorvex\\lingrove\\2.0"), QStringLiteral("Rescomp")),
              QStringLiteral("C:\\D\\bin\\brcc32.exe"));
    EXPECT_EQ(store.readInteger(kSettings, QStringLiteral("HIGHLIGHTS")), 3);

    // Writing under another spelling replaces the value and keeps the first name.
    store.writeString(QStringLiteral("Software\\Quorvex\\Lingrove\\2.0\\"), QStringLiteral("rescomp"),
                      QStringLiteral("x"));
    EXPECT_EQ(store.valueNames(kSettings), (QStringList{QStringLiteral("ResComp"), QStringLiteral("Highlights")}));
    EXPECT_EQ(store.readString(kSettings, QStringLiteral("ResComp")), QStringLiteral("x"));
    EXPECT_EQ(store.subKeys(QStringLiteral("software")), QStringList{QStringLiteral("QUORVEX")});
}

TEST_F(KeyStoreTest, IntegersThatAreMissingOrStringsAreErrors)
{
    KeyStore store(file());
    store.createKey(kSettings);
    try {
        store.readInteger(kSettings, QStringLiteral("Empty"));
        FAIL() << "a missing integer must throw";
    } catch (const KeyStoreError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Empty'");
    }
    store.writeString(kSettings, QStringLiteral("Fonts"), QStringLiteral("1"));
    EXPECT_THROW(store.readInteger(kSettings, QStringLiteral("Fonts")), KeyStoreError);
    EXPECT_THROW(store.readInteger(QStringLiteral("No\\Such\\Key"), QStringLiteral("Fonts")), KeyStoreError);

    // Strings: a missing one is empty, an integer gives its decimal text.
    store.writeInteger(kSettings, QStringLiteral("SFC"), 255);
    EXPECT_EQ(store.readString(kSettings, QStringLiteral("SFC")), QStringLiteral("255"));
    EXPECT_EQ(store.readString(kSettings, QStringLiteral("Compiler")), QString());
    EXPECT_FALSE(store.valueExists(kSettings, QStringLiteral("Compiler")));

    // The extremes of 32 bits survive a new reading of the file.
    store.writeInteger(kSettings, QStringLiteral("Min"), std::numeric_limits<qint32>::min());
    store.writeInteger(kSettings, QStringLiteral("Max"), std::numeric_limits<qint32>::max());
    KeyStore again(file());
    EXPECT_EQ(again.readInteger(kSettings, QStringLiteral("min")), std::numeric_limits<qint32>::min());
    EXPECT_EQ(again.readInteger(kSettings, QStringLiteral("max")), std::numeric_limits<qint32>::max());
    EXPECT_EQ(again.readInteger(kSettings, QStringLiteral("sfc")), 255);
}

TEST_F(KeyStoreTest, DeleteKeyRemovesSubkeysOnly)
{
    KeyStore store(file());
    store.writeString(QStringLiteral("A\\B\\C"), QStringLiteral("v"), QStringLiteral("1"));
    store.writeString(QStringLiteral("A\\B"), QStringLiteral("v"), QStringLiteral("2"));
    store.writeString(QStringLiteral("A\\BB"), QStringLiteral("v"), QStringLiteral("3"));
    store.writeString(QStringLiteral("A"), QStringLiteral("v"), QStringLiteral("4"));

    EXPECT_TRUE(store.deleteKey(QStringLiteral("a\\b")));
    EXPECT_FALSE(store.keyExists(QStringLiteral("A\\B")));
    EXPECT_FALSE(store.keyExists(QStringLiteral("A\\B\\C")));
    // A key whose name merely starts with the same letters stays.
    EXPECT_EQ(store.readString(QStringLiteral("A\\BB"), QStringLiteral("v")), QStringLiteral("3"));
    EXPECT_EQ(store.readString(QStringLiteral("A"), QStringLiteral("v")), QStringLiteral("4"));
    EXPECT_FALSE(store.deleteKey(QStringLiteral("A\\B")));

    KeyStore again(file());
    EXPECT_FALSE(again.keyExists(QStringLiteral("A\\B\\C")));
    EXPECT_EQ(again.subKeys(QStringLiteral("A")), QStringList{QStringLiteral("BB")});
}

TEST_F(KeyStoreTest, TwoStoresOnOneFileSeeEachOther)
{
    KeyStore a(file());
    KeyStore b(file());
    a.writeString(kSettings, QStringLiteral("Compiler"), QStringLiteral("one"));
    EXPECT_EQ(b.readString(kSettings, QStringLiteral("Compiler")), QStringLiteral("one"));
    b.writeInteger(kSettings, QStringLiteral("Empty"), 1);
    a.writeInteger(kSettings, QStringLiteral("Fonts"), 0);   // must not undo b's write

    KeyStore c(file());
    EXPECT_EQ(c.readString(kSettings, QStringLiteral("Compiler")), QStringLiteral("one"));
    EXPECT_EQ(c.readInteger(kSettings, QStringLiteral("Empty")), 1);
    EXPECT_EQ(c.readInteger(kSettings, QStringLiteral("Fonts")), 0);

    EXPECT_TRUE(b.deleteKey(QStringLiteral("SOFTWARE")));
    EXPECT_FALSE(a.keyExists(kSettings));
}

TEST_F(KeyStoreTest, AnyStringSurvivesTheFile)
{
    const QList<QPair<QString, QString>> values = {
        {QStringLiteral("Lines"), QStringLiteral("one\ntwo\r\nthree\r")},
        {QStringLiteral("Equals=In=Name"), QStringLiteral("a=b")},
        {QStringLiteral("[Bracket]"), QStringLiteral("[Not a key]")},
        {QStringLiteral(";Semicolon"), QStringLiteral("; not a comment")},
        {QStringLiteral("Percent"), QStringLiteral("100%25 %u0041 %")},
        {QStringLiteral("Blanks"), QStringLiteral("  padded  ")},
        {QStringLiteral("Empty"), QString()},
        {QStringLiteral("Umlauts"), QStringLiteral("Übersetzung ß € \U0001F600")},
        {QStringLiteral("Controls"), QString::fromUtf16(u"\t\x01\x7f\0end", 8)},
        {QStringLiteral("LoneSurrogate"), QString(QChar(char16_t(0xD800))) + QStringLiteral("x")},
        {QString(), QStringLiteral("default value")},
        {QStringLiteral("s"), QStringLiteral("i:5")},
    };
    const QString key = QStringLiteral("Odd\\Key [1] = %;");
    {
        KeyStore store(file());
        for (const auto& [name, value] : values)
            store.writeString(key, name, value);
    }
    KeyStore store(file());
    ASSERT_TRUE(store.keyExists(key));
    for (const auto& [name, value] : values)
        EXPECT_EQ(store.readString(key, name), value) << name.toStdString();
    EXPECT_THROW(store.readInteger(key, QStringLiteral("s")), KeyStoreError);
    // One line per key and value, plus the heading comment.
    EXPECT_EQ(fileBytes().count('\n'), 1 + 2 + values.size());
}

TEST_F(KeyStoreTest, DamagedFileReadsWhatItCan)
{
    writeBytes(QByteArray("garbage line\n=s:no key yet\n[Good\\Key]\r\nName=s:value\r\n"
                          "Broken=x:1\nNumber=i:notanumber\nHuge=i:99999999999\nNoType\n"
                          "Escapes=s:%zz%4\n[unclosed\nLost=s:nowhere\n")
               + QByteArray("\xff\xfe\x00\x01\n", 5)
               + QByteArray("[Good\\Key]\nLate=i:-7\n[]\n[\\\\Other\\\\]\nX=s:y"));
    KeyStore store(file());
    EXPECT_EQ(store.readString(QStringLiteral("Good\\Key"), QStringLiteral("Name")), QStringLiteral("value"));
    EXPECT_EQ(store.readString(QStringLiteral("Good\\Key"), QStringLiteral("Escapes")), QStringLiteral("%zz%4"));
    EXPECT_EQ(store.readInteger(QStringLiteral("Good\\Key"), QStringLiteral("Late")), -7);
    EXPECT_FALSE(store.valueExists(QStringLiteral("Good\\Key"), QStringLiteral("Number")));
    EXPECT_FALSE(store.valueExists(QStringLiteral("Good\\Key"), QStringLiteral("Huge")));
    EXPECT_FALSE(store.valueExists(QStringLiteral("Good\\Key"), QStringLiteral("Broken")));
    EXPECT_FALSE(store.valueExists(QStringLiteral("Good\\Key"), QStringLiteral("Lost")));
    EXPECT_EQ(store.readString(QStringLiteral("Other"), QStringLiteral("X")), QStringLiteral("y"));

    // The first bad line is reported, and the file as it was is kept.
    EXPECT_EQ(store.damage().line, 1);
    EXPECT_EQ(store.damage().lines, 8);
    EXPECT_EQ(store.damage().reason, QStringLiteral("a value before the first key"));
    EXPECT_EQ(store.damage().keptAs, file() + QStringLiteral(".damaged"));
    const QByteArray original = fileBytes();
    // Writing repairs the file.
    store.writeInteger(QStringLiteral("Good\\Key"), QStringLiteral("Number"), 4);
    KeyStore repaired(file());
    EXPECT_EQ(repaired.readInteger(QStringLiteral("good\\key"), QStringLiteral("number")), 4);
    EXPECT_EQ(repaired.damage().line, 0);
    QFile kept(store.damage().keptAs);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), original);
}

TEST_F(KeyStoreTest, HostileFilesNeitherCrashNorStall)
{
    // A key of 100,000 parts, a line of 1 MB, and 50,000 keys with values.
    QByteArray deep = "[" + QByteArray("a\\").repeated(100000) + "b]\nX=s:deep\n";
    QByteArray many = "[Top]\nName=s:kept\n";
    for (int i = 0; i < 50000; ++i)
        many += "[Top\\K" + QByteArray::number(i) + "]\nV=i:" + QByteArray::number(i) + "\n";
    writeBytes(deep + "[Long]\nV=s:" + QByteArray(1 << 20, 'x') + "\n" + many);
    KeyStore store(file());
    EXPECT_EQ(store.damage().line, 1);
    EXPECT_EQ(store.damage().reason, QStringLiteral("a line longer than 65536 bytes"));
    EXPECT_EQ(store.readString(QStringLiteral("Top"), QStringLiteral("Name")), QStringLiteral("kept"));
    EXPECT_EQ(store.readInteger(QStringLiteral("top\\k49999"), QStringLiteral("v")), 49999);
    EXPECT_EQ(store.subKeys(QStringLiteral("Top")).size(), 50000);
    EXPECT_FALSE(store.valueExists(QStringLiteral("Long"), QStringLiteral("V")));
    const QString tooDeep = QStringLiteral("k\\").repeated(KeyStore::kMaxKeyDepth) + QStringLiteral("x");
    EXPECT_FALSE(store.createKey(tooDeep));
    EXPECT_THROW(store.writeString(tooDeep, QStringLiteral("V"), QStringLiteral("x")), KeyStoreError);

    // Random bytes: nothing read, but the file is kept, not silently replaced.
    QByteArray noise(4096, 0);
    quint32 seed = 7;
    for (char& c : noise)
        c = char((seed = seed * 1103515245 + 12345) >> 24);
    writeBytes(noise);
    KeyStore random(file());
    EXPECT_GT(random.damage().line, 0);
    random.writeString(kSettings, QStringLiteral("Compiler"), QStringLiteral("x"));
    QFile kept(random.damage().keptAs);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), noise);
}

TEST_F(KeyStoreTest, EightBitLinesAreReadAsWindows1252)
{
    writeBytes("[Software\\Borland]\r\nRoot=s:C:\\\xDC" "bersetzung \x80\r\nUtf8=s:C:\\\xC3\x9C\r\n");
    KeyStore store(file());
    EXPECT_EQ(store.damage().line, 0);
    EXPECT_EQ(store.readString(QStringLiteral("Software\\Borland"), QStringLiteral("Root")),
              QStringLiteral("C:\\\u00DCbersetzung \u20AC"));
    EXPECT_EQ(store.readString(QStringLiteral("Software\\Borland"), QStringLiteral("Utf8")),
              QStringLiteral("C:\\\u00DC"));
    store.writeInteger(QStringLiteral("Software\\Borland"), QStringLiteral("N"), 1);
    EXPECT_EQ(KeyStore(file()).readString(QStringLiteral("Software\\Borland"), QStringLiteral("Root")),
              QStringLiteral("C:\\\u00DCbersetzung \u20AC"));
}

TEST_F(KeyStoreTest, UnwritableFileFailsAndKeepsTheStore)
{
    // A regular file where the folder should be: nothing can be written there.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    KeyStore store(dir.filePath(QStringLiteral("blocker/registry.txt")));
    EXPECT_FALSE(store.createKey(kSettings));
    EXPECT_THROW(store.writeString(kSettings, QStringLiteral("Compiler"), QStringLiteral("x")), KeyStoreError);
    EXPECT_THROW(store.writeInteger(kSettings, QStringLiteral("Empty"), 1), KeyStoreError);
    EXPECT_FALSE(store.keyExists(kSettings));
}

} // namespace
