#include "core/scanner/StringEntry.h"
#include "core/formfile/FormFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct CliResult {
    int status = -1;
    std::string out;
};

CliResult runCli(const std::string& args)
{
    CliResult r;
    const std::string command = std::string(LINGROVE_CLI) + " " + args + " 2>/dev/null";
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
        r.out.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

class CmdStrings : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::path(testing::TempDir()) / "lingrove_cmd_strings";
        fs::create_directories(dir_);
    }
    std::string write(const std::string& name, const std::string& bytes)
    {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    fs::path dir_;
};

} // namespace

TEST_F(CmdStrings, PrintsTheEntryListOfAUnit)
{
    const std::string unit = write("unit1.pas",
                                   "unit Unit1;\r\n"
                                   "  Caption := 'Save file';\r\n"
                                   "  s := 'It''s' + '' + '-' + '12340' + '.exe' + 'c:\\temp';\r\n"
                                   "  t := 'Gr'#246#223'e';");
    CliResult r = runCli("strings " + unit);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "    2   15   23  Save file\n"
                     "    3    9   13  It''s\n"
                     "    4    9   10  Gr\n"
                     "    4   21   21  e\n"
                     "[++++ End of the list ++++]\n");

    r = runCli("strings " + unit + " --accept separator,numbers,empty,dirs,extensions");
    EXPECT_EQ(r.status, 0);
    for (const char* text : {"-", "12340", ".exe", "c:\\temp"})
        EXPECT_NE(r.out.find(std::string("  ") + text + "\n"), std::string::npos) << text;
    EXPECT_NE(r.out.find("    3   19   18  \n"), std::string::npos); // the empty literal
}

TEST_F(CmdStrings, RejectsBadArguments)
{
    const std::string unit = write("unit2.pas", "x := 'a';\n");
    EXPECT_EQ(runCli("strings").status, 2);
    EXPECT_EQ(runCli("strings " + unit + " --accept colours").status, 2);
    EXPECT_EQ(runCli("strings " + (dir_ / "missing.pas").string()).status, 1);
    EXPECT_EQ(runCli("strings " + write("broken.dfm", "\xff\x0a\x00garbage")).status, 1);
}

TEST_F(CmdStrings, ConvertsABinaryFormFirst)
{
    std::string binary;
    lingrove::formfile::TextToResource("object Form1: TForm1\r\n"
                                       "  Caption = 'Hello'\r\n"
                                       "end\r\n",
                                       binary);
    ASSERT_FALSE(binary.empty());
    ASSERT_EQ(static_cast<unsigned char>(binary[0]), 0xFF);
    const CliResult r = runCli("strings " + write("form1.dfm", binary));
    EXPECT_EQ(r.status, 0);
    const auto first = lingrove::scanner::parseEntry(r.out.substr(0, r.out.find('\n')));
    ASSERT_TRUE(first) << r.out;
    EXPECT_EQ(first->text, "Hello");
    EXPECT_EQ(first->line, 2);
}
