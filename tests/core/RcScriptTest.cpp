#include "core/rcscript/BatchLine.h"
#include "core/rcscript/ResourceDirective.h"
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
    f.companyName = "Quorvex \"GmbH\" C:\\";  // escaped as the resource language wants
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
        "      VALUE \"CompanyName\", \"Quorvex \"\"GmbH\"\" C:\\\\\\0\"\r\n"
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
    EXPECT_EQ(upperResourceName("my_res2"), "MY_RES2");
    EXPECT_EQ(upperResourceName("gr\xFC\xDF"), "GR\xDC\xDF");   // sharp s has no capital
}

TEST(BatchLine, SpecimenLineByteForByteWithProjectPathUnquoted)
{
    const std::string line =
        compallLine({"C:\\D2\\bin\\", "dcc32.exe", "C:\\Work\\Demo.dpr", "C:\\Tool\\"}, Shell::Cmd, '\\');
    EXPECT_EQ(line, "\"C:\\D2\\bin\\\\dcc32.exe\" -b C:\\Work\\Demo.dpr >\"C:\\Tool\\result.txt\"");
    EXPECT_EQ(compallFile(line), line + "\r\n");
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
    for (const char* yes : {"{$R VERSION.res}", "  {$r *.RES}\r", "{$RESOURCE my.res}"})
        EXPECT_TRUE(isResourceDirective(yes)) << yes;
    for (const char* no : {"{$R+}", "{$R}", "{$R }", "{$RANGECHECKS ON}", "{$I x.inc}", "begin"})
        EXPECT_FALSE(isResourceDirective(no)) << no;
}
