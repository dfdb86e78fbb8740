// Delphi's text syntax as input: continuations, character codes, encodings,
// each value with the binary type Delphi's reader gives it. Where Free Pascal
// is installed, its ObjectTextToBinary checks the bytes of a sample form.
#include "FormTestUtil.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace formtest;

TEST(TextSyntax, ContinuationsJoinPiecesAcrossLines)
{
    EXPECT_EQ(valueOf("\r\n    'This is a button|This is a longer description for the button, ta' +\r\n"
                      "    'king some space|2'"),
              byte(6) + shortStr("This is a button|This is a longer description for the button, taking some space|2"));
    EXPECT_EQ(valueOf("'a' + #13#10 +\r\n 'b'"), byte(6) + shortStr("a\r\nb"));
    EXPECT_EQ(valueOf("(\r\n  'x' +\r\n  'y'\r\n  'z')"),
              byte(1) + byte(6) + shortStr("xy") + byte(6) + shortStr("z") + byte(0));
    EXPECT_EQ(textError(formText("  P = 'a' +\r\n  Q = 1\r\n")).expected(), "string");
}

TEST(TextSyntax, CodesAbove127MakeWideStringsNeverBytesModulo256)
{
    // #8364 is the euro sign, not byte 0xAC; Cyrillic stays Cyrillic.
    // UTF-16 where UTF-8 would not be shorter.
    EXPECT_EQ(valueOf("#8364"), utf16("\xAC\x20"));
    EXPECT_EQ(valueOf("'Preis: 5'#8364"), utf8("Preis: 5\xE2\x82\xAC"));
    EXPECT_EQ(valueOf("#1057#1080#1089"), utf16("\x21\x04\x38\x04\x41\x04"));
    EXPECT_EQ(valueOf("#$41#$20AC"), utf16(std::string("A\0\xAC\x20", 4)));
    EXPECT_EQ(valueOf("#65#66"), byte(6) + shortStr("AB"));
    // Literal bytes of an 8-bit file are Windows-1252 once the value is wide.
    EXPECT_EQ(valueOf("'\x80 \xF6'#1057"), utf16(std::string("\xAC\x20\x20\x00\xF6\x00\x21\x04", 8)));
    EXPECT_EQ(valueOf("'\xF6'"), byte(6) + shortStr("\xF6"));
}

TEST(TextSyntax, CharactersAFormCannotHoldAreRefusedWithLineAndColumn)
{
    struct Case {
        std::string value;
        long column;
        std::string words;
    };
    const Case cases[] = {
        {"'ab'#70000", 11, "#70000 is above 65535"},
        {"String(#8364)", 14, "#8364 cannot be held by an 8-bit string"},
        {"LString('x'#300)", 18, "#300 cannot be held by an 8-bit string"},
        {"UTF8String(#55296)", 18, "lone surrogate"},
    };
    for (const Case& c : cases) {
        const FormError e = textError(formText("  Left = 1\r\n  P = " + c.value + "\r\n"));
        EXPECT_EQ(e.kind(), Kind::InvalidCharacter) << e.what();
        EXPECT_EQ(e.line(), 3) << e.what();
        EXPECT_EQ(e.column(), c.column) << e.what();
        EXPECT_NE(std::string(e.what()).find(c.words), std::string::npos) << e.what();
    }
}

TEST(TextSyntax, Utf8FilesWithByteOrderMark)
{
    EXPECT_EQ(valueOf("'Gr\xC3\xB6\xC3\x9F" "e'", kBom), utf8("Gr\xC3\xB6\xC3\x9F" "e"));
    EXPECT_EQ(valueOf("'plain'", kBom), byte(6) + shortStr("plain"));
    EXPECT_EQ(valueOf("String('Gr\xC3\xB6\xC3\x9F" "e')", kBom), byte(6) + shortStr("Gr\xF6\xDF" "e"));
    // Names may hold letters beyond ASCII (as UTF-8).
    const std::string text = kBom + "object F: TF\r\n  object Button\xE3\x81\x82: TButton\r\n  end\r\nend\r\n";
    EXPECT_NE(toBinary(text).find(shortStr("Button\xE3\x81\x82")), std::string::npos);
    // Bytes that are not UTF-8 are refused where they stand; columns count characters.
    const FormError e = textError(kBom + formText("  P = '\xC3\xB6\xC3\xB6\xFF'\r\n"));
    EXPECT_EQ(e.kind(), Kind::InvalidCharacter);
    EXPECT_EQ(e.line(), 2);
    EXPECT_EQ(e.column(), 10);
}

// Free Pascal's converter on the same text gives the same bytes.
TEST(TextSyntax, FreePascalReadsTheSameBytes)
{
    if (std::system("command -v fpc >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "fpc is not installed";
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("lingrove-fpc-oracle-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "oracle.pas") << "program oracle;\n{$mode delphi}\nuses Classes;\n"
                                         "var a, b: TFileStream;\nbegin\n"
                                         "  a := TFileStream.Create(ParamStr(1), fmOpenRead);\n"
                                         "  b := TFileStream.Create(ParamStr(2), fmCreate);\n"
                                         "  ObjectTextToBinary(a, b);\n  b.Free;\n  a.Free;\nend.\n";
    const std::string text = "object Form1: TForm1\r\n"
                             "  Left = -129\r\n  Top = 32768\r\n  Big = 2147483648\r\n  Mask = $FF\r\n"
                             "  Caption = 'Gr\xF6\xDF" "e ''x'''\r\n"
                             "  Hint = \r\n    'This is a long hint that Delphi splits into pieces of sixty-fou' +\r\n"
                             "    'r characters'\r\n"
                             "  Cyr = #1055#1088#1080\r\n  Lines = 'a'#13#10'b'\r\n"
                             "  Ratio = 1.25\r\n  Tiny = 0.1\r\n  Huge = 1E300\r\n"
                             "  Style = [fsBold, fsItalic]\r\n  Empty = []\r\n  OnClick = Form1.Click\r\n"
                             "  Visible = True\r\n  Tag = nil\r\n  Data = {0001FF}\r\n"
                             "  Items.Strings = (\r\n    'one'\r\n    'two')\r\n"
                             "  Columns = <\r\n    item\r\n      Width = 5\r\n    end>\r\n"
                             "  inline Frame1: TFrame1\r\n  end\r\n"
                             "  inherited Button1: TButton [2]\r\n    Caption = 'OK'\r\n  end\r\nend\r\n";
    std::ofstream(dir / "in.txt", std::ios::binary) << text;
    const std::string compile = "cd '" + dir.string() + "' && fpc -Mdelphi -O1 oracle.pas >fpc.log 2>&1";
    ASSERT_EQ(std::system(compile.c_str()), 0) << "fpc failed; see " << (dir / "fpc.log");
    ASSERT_EQ(std::system(("cd '" + dir.string() + "' && ./oracle in.txt out.bin").c_str()), 0);
    std::ifstream in(dir / "out.bin", std::ios::binary);
    std::ostringstream fpcBytes;
    fpcBytes << in.rdbuf();
    EXPECT_EQ(toBinary(text), fpcBytes.str());
    fs::remove_all(dir);
}
