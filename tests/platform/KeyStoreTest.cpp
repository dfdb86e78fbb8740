#include "platform/KeyStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>

using lingrove::platform::KeyStore;
using lingrove::platform::KeyStoreError;

namespace {

const QString kSettings = "SOFTWARE\\QUORVEX\\Lingrove\\2.0";

class KeyStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file() const { return dir.filePath("registry.txt"); }

    static QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
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
    store.writeString(kSettings, "ResComp", "C:\\D\\bin\\brcc32.exe");
    store.writeInteger(kSettings, "Highlights", 3);

    EXPECT_TRUE(store.keyExists("software\\quorvex\\LINGROVE\\2.0"));
    EXPECT_TRUE(store.keyExists("Software\\Quorvex"));   // parents exist too
    EXPECT_EQ(store.readString("software\\quorvex\\lingrove\\2.0", "Rescomp"), "C:\\D\\bin\\brcc32.exe");
    EXPECT_EQ(store.readInteger(kSettings, "HIGHLIGHTS"), 3);

    // Writing under another spelling replaces the value and keeps the first name.
    store.writeString("Software\\Quorvex\\Lingrove\\2.0\\", "rescomp", "x");
    EXPECT_EQ(store.valueNames(kSettings), QStringList({"ResComp", "Highlights"}));
    EXPECT_EQ(store.readString(kSettings, "ResComp"), "x");
    EXPECT_EQ(store.subKeys("software"), QStringList{"QUORVEX"});
}

TEST_F(KeyStoreTest, IntegersThatAreMissingOrStringsAreErrors)
{
    KeyStore store(file());
    store.createKey(kSettings);
    try {
        store.readInteger(kSettings, "Empty");
        FAIL() << "a missing integer must throw";
    } catch (const KeyStoreError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Empty'");
    }
    store.writeString(kSettings, "Fonts", "1");
    EXPECT_THROW(store.readInteger(kSettings, "Fonts"), KeyStoreError);
    EXPECT_THROW(store.readInteger("No\\Such\\Key", "Fonts"), KeyStoreError);

    // Strings: a missing one is empty, an integer gives its decimal text.
    store.writeInteger(kSettings, "SFC", 255);
    EXPECT_EQ(store.readString(kSettings, "SFC"), "255");
    EXPECT_EQ(store.readString(kSettings, "Compiler"), QString());
    EXPECT_FALSE(store.valueExists(kSettings, "Compiler"));

    // The extremes of 32 bits survive a new reading of the file.
    store.writeInteger(kSettings, "Min", std::numeric_limits<qint32>::min());
    store.writeInteger(kSettings, "Max", std::numeric_limits<qint32>::max());
    KeyStore again(file());
    EXPECT_EQ(again.readInteger(kSettings, "min"), std::numeric_limits<qint32>::min());
    EXPECT_EQ(again.readInteger(kSettings, "max"), std::numeric_limits<qint32>::max());
}

TEST_F(KeyStoreTest, DeleteKeyRemovesSubkeysOnlyAndOtherStoresSeeIt)
{
    KeyStore store(file());
    KeyStore other(file());
    store.writeString("A\\B\\C", "v", "1");
    store.writeString("A\\B", "v", "2");
    other.writeString("A\\BB", "v", "3");
    store.writeString("A", "v", "4");   // must not undo the other store's write

    EXPECT_TRUE(store.deleteKey("a\\b"));
    EXPECT_FALSE(store.keyExists("A\\B\\C"));
    // A key whose name merely starts with the same letters stays.
    EXPECT_EQ(store.readString("A\\BB", "v"), "3");
    EXPECT_EQ(store.readString("A", "v"), "4");
    EXPECT_FALSE(store.deleteKey("A\\B"));

    EXPECT_FALSE(other.keyExists("A\\B"));
    EXPECT_EQ(KeyStore(file()).subKeys("A"), QStringList{"BB"});
}

TEST_F(KeyStoreTest, AnyStringSurvivesTheFile)
{
    const QList<QPair<QString, QString>> values = {
        {"Lines", "one\ntwo\r\nthree\r"},
        {"Equals=In=Name", "a=b"},
        {"[Bracket]", "[Not a key]"},
        {";Semicolon", "; not a comment"},
        {"Percent", "100%25 %u0041 %"},
        {"Blanks", "  padded  "},
        {"Empty", QString()},
        {"Umlauts", QStringLiteral("Übersetzung ß € \U0001F600")},
        {"Controls", QString::fromUtf16(u"\t\x01\x7f\0end", 8)},
        {"LoneSurrogate", QString(QChar(char16_t(0xD800))) + "x"},
        {QString(), "default value"},
        {"s", "i:5"},
    };
    const QString key = "Odd\\Key [1] = %;";
    {
        KeyStore store(file());
        for (const auto& [name, value] : values)
            store.writeString(key, name, value);
    }
    KeyStore store(file());
    ASSERT_TRUE(store.keyExists(key));
    for (const auto& [name, value] : values)
        EXPECT_EQ(store.readString(key, name), value) << name.toStdString();
    EXPECT_THROW(store.readInteger(key, "s"), KeyStoreError);
    // One line per key and value, plus the heading comment.
    EXPECT_EQ(bytesOf(file()).count('\n'), 1 + 2 + values.size());
}

TEST_F(KeyStoreTest, DamagedFileReadsWhatItCan)
{
    writeBytes(QByteArray("garbage line\n=s:no key yet\n[Good\\Key]\r\nName=s:value\r\n"
                          "Broken=x:1\nNumber=i:notanumber\nHuge=i:99999999999\nNoType\n"
                          "Escapes=s:%zz%4\n[unclosed\nLost=s:nowhere\n")
               + QByteArray("\xff\xfe\x00\x01\n", 5)
               + QByteArray("[Good\\Key]\nLate=i:-7\n[]\n[\\\\Other\\\\]\nX=s:y"));
    const QByteArray original = bytesOf(file());
    KeyStore store(file());
    const QString good = "Good\\Key";
    EXPECT_EQ(store.readString(good, "Name"), "value");
    EXPECT_EQ(store.readString(good, "Escapes"), "%zz%4");
    EXPECT_EQ(store.readInteger(good, "Late"), -7);
    for (const char* lost : {"Number", "Huge", "Broken", "Lost"})
        EXPECT_FALSE(store.valueExists(good, lost)) << lost;
    EXPECT_EQ(store.readString("Other", "X"), "y");

    // The first bad line is reported, and the file as it was is kept.
    EXPECT_EQ(store.damage().line, 1);
    EXPECT_EQ(store.damage().lines, 8);
    EXPECT_EQ(store.damage().reason, "a value before the first key");
    EXPECT_EQ(store.damage().keptAs, file() + ".damaged");
    // Writing repairs the file.
    store.writeInteger(good, "Number", 4);
    KeyStore repaired(file());
    EXPECT_EQ(repaired.readInteger("good\\key", "number"), 4);
    EXPECT_EQ(repaired.damage().line, 0);
    EXPECT_EQ(bytesOf(store.damage().keptAs), original);
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
    EXPECT_EQ(store.damage().reason, "a line longer than 65536 bytes");
    EXPECT_EQ(store.readString("Top", "Name"), "kept");
    EXPECT_EQ(store.readInteger("top\\k49999", "v"), 49999);
    EXPECT_EQ(store.subKeys("Top").size(), 50000);
    EXPECT_FALSE(store.valueExists("Long", "V"));
    const QString tooDeep = QString("k\\").repeated(KeyStore::kMaxKeyDepth) + "x";
    EXPECT_FALSE(store.createKey(tooDeep));
    EXPECT_THROW(store.writeString(tooDeep, "V", "x"), KeyStoreError);

    // Random bytes: nothing read, but the file is kept, not silently replaced.
    QByteArray noise(4096, 0);
    quint32 seed = 7;
    for (char& c : noise)
        c = char((seed = seed * 1103515245 + 12345) >> 24);
    writeBytes(noise);
    KeyStore random(file());
    EXPECT_GT(random.damage().line, 0);
    random.writeString(kSettings, "Compiler", "x");
    EXPECT_EQ(bytesOf(random.damage().keptAs), noise);
}

TEST_F(KeyStoreTest, EightBitLinesAreReadAsWindows1252)
{
    writeBytes("[Software\\Borland]\r\nRoot=s:C:\\\xDC" "bersetzung \x80\r\nUtf8=s:C:\\\xC3\x9C\r\n");
    KeyStore store(file());
    EXPECT_EQ(store.damage().line, 0);
    EXPECT_EQ(store.readString("Software\\Borland", "Root"), QStringLiteral("C:\\\u00DCbersetzung \u20AC"));
    EXPECT_EQ(store.readString("Software\\Borland", "Utf8"), QStringLiteral("C:\\\u00DC"));
    store.writeInteger("Software\\Borland", "N", 1);
    EXPECT_EQ(KeyStore(file()).readString("Software\\Borland", "Root"), QStringLiteral("C:\\\u00DCbersetzung \u20AC"));
}

TEST_F(KeyStoreTest, UnwritableFileFailsAndKeepsTheStore)
{
    // A regular file where the folder should be: nothing can be written there.
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    KeyStore store(dir.filePath("blocker/registry.txt"));
    EXPECT_FALSE(store.createKey(kSettings));
    EXPECT_THROW(store.writeString(kSettings, "Compiler", "x"), KeyStoreError);
    EXPECT_THROW(store.writeInteger(kSettings, "Empty", 1), KeyStoreError);
    EXPECT_FALSE(store.keyExists(kSettings));
}

} // namespace
