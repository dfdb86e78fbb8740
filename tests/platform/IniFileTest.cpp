#include "platform/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using lingrove::platform::IniError;
using lingrove::platform::IniFile;

namespace {

// A project file as the new-project wizard leaves it.
const QByteArray kWizardFile = "[General]\r\n"
                               "Projectname=Demo\r\n"
                               "Projectfolder=C:\\Work\r\n"
                               "Filename=C:\\Work\\Demo Src\\Demo.dpr\r\n"
                               "Source=German\r\n"
                               "Destination=English\r\n"
                               "Database=German_English\r\n"
                               "[Resource]\r\n"
                               "Resname=\r\n"
                               "Fullresname=\r\n"
                               "Position=-1\r\n";

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("Demo.lgv"); }

    void put(const QByteArray& bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray bytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TEST_F(IniFileTest, NamesIgnoreCaseAndMissingKeysGiveDefaults)
{
    put(kWizardFile);
    IniFile ini(path());
    EXPECT_EQ(ini.readString("general", "PROJECTNAME"), "Demo");
    EXPECT_EQ(ini.readString("GENERAL", "filename"), "C:\\Work\\Demo Src\\Demo.dpr");
    EXPECT_EQ(ini.readInteger("resource", "position", 0), -1);
    // An empty value is a value, not a missing key.
    EXPECT_EQ(ini.readString("Resource", "Resname", "dflt"), QString());
    EXPECT_EQ(ini.readInteger("Opened", "Position", 0), 0);
    EXPECT_EQ(ini.readString("Opened", "FileInUse", "x"), "x");
    EXPECT_TRUE(ini.sectionExists("RESOURCE"));
    EXPECT_FALSE(ini.sectionExists("Files"));
    EXPECT_FALSE(ini.keyExists("General", "Resname"));
    EXPECT_EQ(ini.sections(), (QStringList{"General", "Resource"}));

    IniFile missing(dir.filePath("none.lgv"));
    EXPECT_EQ(missing.readInteger("Resource", "Position", -1), -1);
    EXPECT_TRUE(missing.sections().isEmpty());
}

TEST_F(IniFileTest, IntegersDecimalHexOrDefault)
{
    put("[N]\r\nHex=0x1F\r\nUpper=0XfF\r\nColour=0xFFFFFFFF\r\nBlanks=  42  \r\nNeg=-5\r\nPlus=+7\r\n"
        "Tail=12abc\r\nBare=0x\r\nBadHex=0xG1\r\nTooBig=99999999999\r\nTooLong=0x100000000\r\n"
        "Empty=\r\nMin=-2147483648\r\nSign=-\r\n");
    IniFile ini(path());
    const auto n = [&](const char* key) { return ini.readInteger("N", QString::fromLatin1(key), 77); };
    EXPECT_EQ(n("Hex"), 31);
    EXPECT_EQ(n("Upper"), 255);
    EXPECT_EQ(n("Colour"), -1);
    EXPECT_EQ(n("Blanks"), 42);
    EXPECT_EQ(n("Neg"), -5);
    EXPECT_EQ(n("Plus"), 7);
    EXPECT_EQ(n("Min"), -2147483647 - 1);
    for (const char* bad : {"Tail", "Bare", "BadHex", "TooBig", "TooLong", "Empty", "Sign", "Missing"})
        EXPECT_EQ(n(bad), 77) << bad;
}

TEST_F(IniFileTest, OtherLinesStayByteForByte)
{
    const QByteArray before = "; written by hand\n"
                              "\n"
                              "[General]\n"
                              "  Projectname = Demo  \r\n"
                              "just some text\r\n"
                              "Source=German\n"
                              "\r\n"
                              "; about the next section\r\n"
                              "[Resource]\t\r\n"
                              "Position=-1";   // no line end at the end
    put(before);
    IniFile ini(path());
    EXPECT_EQ(ini.readString("General", " projectname "), "Demo");
    EXPECT_EQ(ini.sectionKeys("General"), (QStringList{"Projectname", "Source"}));

    // In place: the key's spelling and the blanks before the value stay.
    ini.writeString("general", "PROJECTNAME", "Other");
    // A new key goes after the section's last key, before the blank line and the comment.
    ini.writeString("General", "Destination", "English");
    // A new key at the end of the last section gives the last line its line end.
    ini.writeString("Resource", "Resname", "x.rc");
    EXPECT_EQ(bytes(), QByteArray("; written by hand\n"
                                  "\n"
                                  "[General]\n"
                                  "  Projectname = Other\r\n"
                                  "just some text\r\n"
                                  "Source=German\n"
                                  "Destination=English\r\n"
                                  "\r\n"
                                  "; about the next section\r\n"
                                  "[Resource]\t\r\n"
                                  "Position=-1\r\n"
                                  "Resname=x.rc\r\n"));
}

TEST_F(IniFileTest, EraseSectionRemovesEveryCopyAndNothingElse)
{
    put("\xEF\xBB\xBF[Files]\r\na=1\r\n[General]\r\nName=x\r\n[files]\r\nb=2\r\n; note\r\n[Opened]\r\nPosition=3\r\n");
    IniFile ini(path());
    EXPECT_EQ(ini.sectionKeys("Files"), (QStringList{"a", "b"}));
    ini.eraseSection("FILES");
    EXPECT_EQ(bytes(), QByteArray("\xEF\xBB\xBF[General]\r\nName=x\r\n[Opened]\r\nPosition=3\r\n"));
    EXPECT_EQ(IniFile(path()).readString("General", "Name"), "x");

    // Erasing what is not there leaves the file alone (and makes none).
    IniFile none(dir.filePath("none.lgv"));
    none.eraseSection("Files");
    EXPECT_FALSE(QFile::exists(none.path()));
}

TEST_F(IniFileTest, EightBitWhereItFitsUtf8Otherwise)
{
    // Windows-1252 as 8-bit programs write it, where every character fits.
    IniFile ini(path());
    ini.writeString("General", "Filename", "C:\\Übersetzung €.dpr");
    EXPECT_EQ(bytes(), QByteArray("[General]\r\nFilename=C:\\\xDC" "bersetzung \x80.dpr\r\n"));
    EXPECT_EQ(IniFile(path()).readString("general", "filename"), "C:\\Übersetzung €.dpr");
    // UTF-8 for what the code page lacks, each line read as what it is.
    ini.writeString("General", "Destination", "Русский");
    EXPECT_TRUE(bytes().endsWith("Destination=\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9\r\n"));
    EXPECT_EQ(IniFile(path()).readString("General", "Filename"), "C:\\Übersetzung €.dpr");
    EXPECT_EQ(IniFile(path()).readString("General", "Destination"), "Русский");
    // A file with the UTF-8 byte-order mark stays UTF-8.
    put("\xEF\xBB\xBF[General]\r\n");
    IniFile utf8(path());
    utf8.writeString("General", "Source", "Français");
    EXPECT_EQ(bytes(), QByteArray("\xEF\xBB\xBF[General]\r\nSource=Fran\xC3\xA7" "ais\r\n"));
}

TEST_F(IniFileTest, ABatchIsWrittenWholeOrNotAtAll)
{
    put(kWizardFile);
    IniFile ini(path());
    {
        IniFile::Batch batch(ini);
        ini.eraseSection("Resource");
        ini.writeString("Files", "main.pas", "1");
        EXPECT_EQ(ini.readString("Files", "main.pas"), "1");
        EXPECT_EQ(bytes(), kWizardFile);   // nothing written yet
        // A key the format cannot hold ends the batch unwritten.
        EXPECT_THROW(ini.writeString("Files", "a=b.pas", "2"), IniError);
    }
    EXPECT_EQ(bytes(), kWizardFile);
    EXPECT_FALSE(ini.keyExists("Files", "main.pas"));
    {
        IniFile::Batch batch(ini);
        ini.writeString("Files", "main.pas", "1");
        batch.commit();
    }
    EXPECT_EQ(IniFile(path()).readString("Files", "main.pas"), "1");
}

TEST_F(IniFileTest, RefusesWhatTheFormatCannotHold)
{
    put(kWizardFile);
    IniFile ini(path());
    EXPECT_THROW(ini.writeString("General", "Source", "a\r\nb"), IniError);
    EXPECT_THROW(ini.writeString("Files", "a=b.pas", "1"), IniError);
    EXPECT_THROW(ini.writeString("Fi]les", "a", "1"), IniError);
    EXPECT_THROW(ini.writeString("Files", "  ", "1"), IniError);
    EXPECT_EQ(bytes(), kWizardFile);
}

TEST_F(IniFileTest, FailedWriteThrowsAndCreatesNothing)
{
    const QString blocked = dir.filePath("nofolder/sub/Demo.lgv");
    IniFile ini(blocked);
    EXPECT_THROW(ini.writeString("General", "Projectname", "x"), IniError);
    EXPECT_FALSE(QFile::exists(blocked));
    // What failed is not kept as if written.
    EXPECT_FALSE(ini.keyExists("General", "Projectname"));
}

TEST_F(IniFileTest, TwoObjectsOnOneFileDoNotUndoEachOther)
{
    put(kWizardFile);
    IniFile a(path());
    IniFile b(path());
    a.writeString("Opened", "FileInUse", "unit1.pas");
    b.writeInteger("Opened", "Position", 4);
    EXPECT_EQ(a.readInteger("Opened", "Position", 0), 4);
    EXPECT_EQ(IniFile(path()).readString("Opened", "FileInUse"), "unit1.pas");
}

} // namespace
