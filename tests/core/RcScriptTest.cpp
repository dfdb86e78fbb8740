#include "core/rcscript/BatchLine.h"
#include "core/rcscript/ResourceDirective.h"
#include "core/rcscript/Tables.h"
#include "core/rcscript/VersionScript.h"

#include <gtest/gtest.h>

using namespace lingrove::rcscript;

namespace {

VersionInfoFields german(int charset)
{
    VersionInfoFields f;
    f.fileVersionNumbers = {"1", "2", "3", "4"};
    f.productVersionNumbers = {"2", "0", "x", "0"};   // not a number: written as typed
    f.language = 7;                          // German
    f.charset = charset;
    f.companyName = "Quorvex \"GmbH\"";      // quotes stay unescaped
    f.legalCopyright = "\xA9 1998";
    return f;
}

} // namespace

TEST(VersionScript, GermanAnsiScriptIsExactBytes)
{
    const auto lines = CreateRC(german(7));
    ASSERT_EQ(lines.size(), 30u);
    const std::string expected =
        "1 VERSIONINFO\r\n"
        "FILEVERSION 1,2,3,4\r\n"
        "PRODUCTVERSION 2,0,x,0\r\n"
        "FILEFLAGSMASK 0x0000003F\r\n"
        "FILEFLAGS 0x00000008\r\n"
        "FILETYPE 0x00000001\r\n"
        "FILEOS 0x00010004\r\n"
        "BEGIN\r\n"
        "  BLOCK \"StringFileInfo\"\r\n"
        "  BEGIN\r\n"
        "    BLOCK \"040704E4\"\r\n"
        "    BEGIN\r\n"
        "      VALUE \"Comments\", \"Comments\\0\"\r\n"
        "      VALUE \"CompanyName\", \"Quorvex \"GmbH\"\\0\"\r\n"
        "      VALUE \"FileDescription\", \"FileDescription\\0\"\r\n"
        "      VALUE \"FileVersion\", \"FileVersion\\0\"\r\n"
        "      VALUE \"InternalName\", \"InternalName\\0\"\r\n"
        "      VALUE \"LegalCopyright\", \"\xA9 1998\\0\"\r\n"
        "      VALUE \"LegalTradeMark\", \"LegalTradeMark\\0\"\r\n"
        "      VALUE \"OriginalFileName\", \"OriginalFileName\\0\"\r\n"
        "      VALUE \"PrivateBuild\", \"PrivateBuild\\0\"\r\n"
        "      VALUE \"ProductVersion\", \"ProductVersion\\0\"\r\n"
        "    END\r\n"
        "  END\r\n"
        "  BLOCK \"VarFileInfo\"\r\n"
        "  BEGIN\r\n"
        "    VALUE \"Translation\",\r\n"
        "      0x0407, 1252\r\n"
        "  END\r\n"
        "END\r\n";
    EXPECT_EQ(scriptText(lines), expected);
}

TEST(VersionScript, SevenBitAsciiWritesZeros)
{
    const auto lines = CreateRC(german(0));
    EXPECT_EQ(lines[10], "    BLOCK \"04070000\"");
    EXPECT_EQ(lines[27], "      0x0407, 0");
}

TEST(VersionScript, RefusesMissingChoices)
{
    VersionInfoFields f;
    EXPECT_THROW(CreateRC(f), NoTableChoice);
    f.language = 0;
    EXPECT_THROW(CreateRC(f), NoTableChoice);
    f.charset = 12;   // one past the end
    EXPECT_THROW(CreateRC(f), NoTableChoice);
    f.charset = 11;
    EXPECT_NO_THROW(CreateRC(f));
}

TEST(VersionScript, ResourceNamesAreUpperCased)
{
    EXPECT_EQ(upperResourceName("version"), "VERSION");
    EXPECT_EQ(upperResourceName("my_res2"), "MY_RES2");
    EXPECT_EQ(upperResourceName("gr\xFC\xDF"), "GR\xDC\xDF");   // sharp s has no capital
    EXPECT_EQ(scriptFileName("VERSION"), "VERSION.rc");
    EXPECT_EQ(compiledFileName("VERSION.rc"), "VERSION.res");
    EXPECT_EQ(compiledFileName("rc"), ".res");
}

TEST(Tables, NamesIdsAndFormats)
{
    EXPECT_EQ(LanguageTable.size(), 45u);
    EXPECT_EQ(CharsetTable.size(), 12u);
    EXPECT_EQ(LanguageTable[7].Name, "German");
    EXPECT_EQ(LanguageTable[28].Name, "Norwegian - Bokm\xE5l");
    EXPECT_EQ(LanguageTable[28].Name.size(), 18u);   // the ring-a is one byte
    EXPECT_EQ(LanguageTable[29].Name, "Norwegian - Nynorsk");
    EXPECT_EQ(LanguageTable[36].Name, "Croato-Serbian (Latin)");
    EXPECT_EQ(LanguageTable[44].Name, "Bahasa");
    EXPECT_EQ(CharsetTable[1].Name, "Windows, Japan (Shift - JIS X-0208)");
    EXPECT_EQ(CharsetTable[3].Name, "Windows, Taiwan (GB5)");
    EXPECT_EQ(CharsetTable[7].Name, "Windows, Multilingual (ANSI)");

    const char* hex[] = {"0401", "0402", "0403", "0404", "0804", "0405", "0406", "0407", "0807",
                         "0408", "0409", "0809", "040A", "080A", "040B", "040C", "080C", "0C0C",
                         "100C", "040D", "040E", "040F", "0410", "0810", "0411", "0412", "0413",
                         "0813", "0414", "0814", "0415", "0416", "0816", "0417", "0418", "0419",
                         "041A", "081A", "041B", "041C", "041D", "041E", "041F", "0420", "0421"};
    for (std::size_t i = 0; i < LanguageTable.size(); ++i)
        EXPECT_EQ(hex4(LanguageTable[i].Id), hex[i]) << LanguageTable[i].Name;
    const char* cs[] = {"0000", "03A4", "03B5", "03B6", "04B0", "04E2",
                        "04E3", "04E4", "04E5", "04E6", "04E7", "04E8"};
    for (std::size_t i = 0; i < CharsetTable.size(); ++i)
        EXPECT_EQ(hex4(CharsetTable[i].Id), cs[i]) << CharsetTable[i].Name;
    EXPECT_EQ(decimal(CharsetTable[4].Id), "1200");
    EXPECT_EQ(languageId(-1), std::nullopt);
    EXPECT_EQ(languageId(45), std::nullopt);
    EXPECT_EQ(charsetId(0), 0);
}

TEST(BatchLine, SpecimenLineByteForByte)
{
    const BatchPaths p{"C:\\D2\\bin\\", "dcc32.exe", "C:\\Work\\Demo.dpr", "C:\\Tool\\"};
    const std::string line = compallLine(p, Shell::Cmd, '\\');
    EXPECT_EQ(line, "\"C:\\D2\\bin\\\\dcc32.exe\" -b C:\\Work\\Demo.dpr >\"C:\\Tool\\result.txt\"");
    EXPECT_EQ(compallFile(line), line + "\r\n");
}

TEST(BatchLine, ProjectPathWithSpacesStaysUnquoted)
{
    const BatchPaths p{"C:\\Program Files\\D2\\bin", "dcc32.exe", "C:\\My Work\\Demo App.dpr",
                       "C:\\My Tool\\"};
    EXPECT_EQ(compallLine(p, Shell::Cmd, '\\'),
              "\"C:\\Program Files\\D2\\bin\\dcc32.exe\" -b C:\\My Work\\Demo App.dpr >\"C:\\My "
              "Tool\\result.txt\"");
    const BatchPaths q{"/opt/d2/bin/", "dcc32.exe", "/home/u/My Work/Demo App.dpr", "/home/u/prog/"};
    EXPECT_EQ(compallLine(q, Shell::Sh, '/'),
              "\"/opt/d2/bin//dcc32.exe\" -b /home/u/My Work/Demo App.dpr >\"/home/u/prog/result.txt\"");
}

TEST(BatchLine, ShellSyntaxInPathsIsEscaped)
{
    const BatchPaths p{"/opt/$HOME`x`", "dcc32.exe", "/w/a;rm -rf x&$(id)  'q'.dpr ", "/p\"q\\/"};
    EXPECT_EQ(compallLine(p, Shell::Sh, '/'),
              "\"/opt/\\$HOME\\`x\\`/dcc32.exe\" -b /w/a\\;rm -rf x\\&\\$\\(id\\) \\ \\'q\\'.dpr\\  "
              ">\"/p\\\"q\\\\/result.txt\"");
}

TEST(ResourceDirective, InsertsAboveLowerCaseAndSpacedBegin)
{
    std::vector<std::string> lines{"program Demo;", "uses SysUtils;", "{ BEGIN\tof nothing }",
                                   "  b e g i n  ", "  WriteLn('x');", "end."};
    const auto r = insertDirective(lines, "VERSION.res");
    ASSERT_EQ(r.outcome, InsertOutcome::Inserted);
    EXPECT_EQ(r.position, 3);
    EXPECT_EQ(lines[3], "{$R VERSION.res}");
    EXPECT_EQ(lines[4], "  b e g i n  ");
    EXPECT_EQ(lines.size(), 7u);

    std::vector<std::string> tabbed{"program X;", "\tbegin", "begin // main", "end."};
    EXPECT_EQ(insertDirective(tabbed, "A.res").outcome, InsertOutcome::NoBeginLine);
    EXPECT_EQ(tabbed.size(), 4u);
    std::vector<std::string> empty;
    EXPECT_EQ(insertDirective(empty, "A.res").outcome, InsertOutcome::NoLines);
    EXPECT_TRUE(empty.empty());
}

TEST(ResourceDirective, SecondInsertionReplacesFirst)
{
    std::vector<std::string> lines{"program Demo;", "begin", "end."};
    const int first = insertDirective(lines, "VERSION.res").position;
    ASSERT_EQ(first, 1);
    ASSERT_EQ(removeDirective(lines, first), RemoveOutcome::Removed);
    const auto second = insertDirective(lines, "OTHER.res");
    EXPECT_EQ(second.position, 1);
    EXPECT_EQ(lines, (std::vector<std::string>{"program Demo;", "{$R OTHER.res}", "begin", "end."}));
}

TEST(ResourceDirective, RemovalRefusesStaleLines)
{
    std::vector<std::string> lines{"program Demo;", "{$R VERSION.res}", "begin", "end."};
    const auto before = lines;
    EXPECT_EQ(removeDirective(lines, 2), RemoveOutcome::Stale);   // "begin"
    EXPECT_EQ(removeDirective(lines, 4), RemoveOutcome::Stale);   // past the end
    EXPECT_EQ(removeDirective(lines, -7), RemoveOutcome::Stale);
    EXPECT_EQ(removeDirective(lines, -1), RemoveOutcome::NoneRecorded);
    EXPECT_EQ(lines, before);
    EXPECT_EQ(removeDirective(lines, 1), RemoveOutcome::Removed);
    EXPECT_EQ(lines.size(), 3u);
}

TEST(ResourceDirective, RecognisesDirectivesOnly)
{
    EXPECT_TRUE(isResourceDirective("{$R VERSION.res}"));
    EXPECT_TRUE(isResourceDirective("  {$r *.RES}\r"));
    EXPECT_TRUE(isResourceDirective("{$RESOURCE my.res}"));
    EXPECT_FALSE(isResourceDirective("{$R+}"));
    EXPECT_FALSE(isResourceDirective("{$R}"));
    EXPECT_FALSE(isResourceDirective("{$R }"));
    EXPECT_FALSE(isResourceDirective("{$RANGECHECKS ON}"));
    EXPECT_FALSE(isResourceDirective("{$I x.inc}"));
    EXPECT_FALSE(isResourceDirective("begin"));
}
