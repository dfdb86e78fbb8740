// Text form -> binary: tokens, value encodings, errors with their lines.
#include "FormTestUtil.h"

#include <clocale>
#include <locale>

using namespace formtest;

TEST(TextForm, IntegerWidthFollowsTheValue)
{
    EXPECT_EQ(valueOf("127"), byte(2) + byte(127));
    EXPECT_EQ(valueOf("128"), byte(3) + byte(128) + byte(0));
    EXPECT_EQ(valueOf("-128"), byte(2) + byte(0x80));
    EXPECT_EQ(valueOf("-129"), byte(3) + byte(0x7F) + byte(0xFF));
    EXPECT_EQ(valueOf("32767"), byte(3) + byte(0xFF) + byte(0x7F));
    EXPECT_EQ(valueOf("32768"), byte(4) + u32(32768));
    EXPECT_EQ(valueOf("-32768"), byte(3) + byte(0) + byte(0x80));
    EXPECT_EQ(valueOf("-32769"), byte(4) + u32(static_cast<std::uint32_t>(-32769)));
    EXPECT_EQ(valueOf("2147483647"), byte(4) + u32(0x7FFFFFFF));
    EXPECT_EQ(valueOf("-2147483648"), byte(4) + u32(0x80000000u));
    EXPECT_EQ(valueOf("$FF"), byte(3) + byte(0xFF) + byte(0));
    EXPECT_EQ(valueOf("$FFFFFFFF"), byte(2) + byte(0xFF));
    EXPECT_EQ(valueOf("007"), byte(2) + byte(7));
}

TEST(TextForm, StringsSymbolsAndKeywords)
{
    EXPECT_EQ(valueOf("'It'#39's'"), byte(6) + shortStr("It's"));
    EXPECT_EQ(valueOf("'It''s'"), byte(6) + shortStr("It's"));
    EXPECT_EQ(valueOf("'abc'#13#10'def'"), byte(6) + shortStr("abc\r\ndef"));
    EXPECT_EQ(valueOf("''"), byte(6) + shortStr(""));
    EXPECT_EQ(valueOf("'" + std::string(255, 'x') + "'"), byte(6) + shortStr(std::string(255, 'x')));
    EXPECT_EQ(valueOf("'" + std::string(256, 'x') + "'"), byte(12) + u32(256) + std::string(256, 'x'));
    EXPECT_EQ(valueOf("FALSE"), byte(8));
    EXPECT_EQ(valueOf("true"), byte(9));
    EXPECT_EQ(valueOf("NIL"), byte(13));
    EXPECT_EQ(valueOf("Form1 . Button1Click"), byte(7) + shortStr("Form1.Button1Click"));
    EXPECT_EQ(valueOf("[ a ,b ]"), byte(11) + shortStr("a") + shortStr("b") + byte(0));
    EXPECT_EQ(valueOf("{ 0A 0b\r\n  0c }"), byte(10) + u32(3) + "\x0A\x0B" + byte(0x0C));
    EXPECT_EQ(valueOf("<item end item [2] X = 1 end>"),
              byte(14) + byte(1) + byte(0) + byte(2) + byte(2) + byte(1) + shortStr("X") + byte(2) + byte(1) + byte(0)
                  + byte(0));
}

TEST(TextForm, KeywordsIgnoreCaseAndHeadersAreOptional)
{
    const std::string expected = "TPF0" + shortStr("TForm1") + shortStr("") + byte(0) + byte(0);
    EXPECT_EQ(toBinary("object TForm1 end"), expected);
    EXPECT_EQ(toBinary("OBJECT TForm1\r\nEND\r\n"), expected);
    EXPECT_EQ(toBinary("Object TForm1\nEnd"), expected);
    EXPECT_EQ(toBinary("inherited F: T [1] end"),
              "TPF0" + byte(0xF3) + byte(2) + byte(1) + shortStr("T") + shortStr("F") + byte(0) + byte(0));
    EXPECT_EQ(toBinary("object F: T [-1] end"),
              "TPF0" + byte(0xF2) + byte(2) + byte(0xFF) + shortStr("T") + shortStr("F") + byte(0) + byte(0));
}

TEST(TextForm, EachErrorNamesWhatWasExpectedAndTheLine)
{
    struct Case {
        std::string text;
        FormError::Kind kind;
        long line;
        std::string expected;
    };
    const Case cases[] = {
        {"form TForm1\r\nend\r\n", Kind::Expected, 1, "'object'"},
        {"object\r\n\r\n 12", Kind::Expected, 3, "identifier"},
        {"object F:\r\n[", Kind::Expected, 2, "identifier"},
        {"object F: T [x]", Kind::Expected, 1, "integer"},
        {"object F: T [1 end", Kind::Expected, 1, "']'"},
        {"object F: T\r\n  Left 5\r\nend", Kind::Expected, 2, "'='"},
        {"object F: T\r\n  Left = 5\r\n", Kind::Expected, 3, "'end'"},
        {"object F: T\r\n  + = 5\r\nend", Kind::Expected, 2, "identifier"},
        {"object F: T\r\n  Font. = 5\r\nend", Kind::Expected, 2, "identifier"},
        {"object F: T\r\n  Caption = 'abc\r\nend", Kind::InvalidString, 2, ""},
        {"object F: T\r\n  Caption = 'abc", Kind::InvalidString, 2, ""},
        {"object F: T\r\n  Caption = 'a'#x\r\nend", Kind::InvalidString, 2, ""},
        {"object F: T\r\n  Left = 9223372036854775808\r\nend", Kind::InvalidNumber, 2, ""},
        {"object F: T\r\n  Left = -\r\nend", Kind::InvalidNumber, 2, ""},
        {"object F: T\r\n  Left = $\r\nend", Kind::InvalidNumber, 2, ""},
        {"object F: T\r\n  Left = $10000000000000000\r\nend", Kind::InvalidNumber, 2, ""},
        {"object F: T\r\n  X = 1.2.3\r\nend", Kind::InvalidNumber, 2, ""},
        {"object F: T\r\n  X = 1E\r\nend", Kind::InvalidNumber, 2, ""},
        {"object F: T\r\n  X = 1E5000\r\nend", Kind::InvalidNumber, 2, ""},
        {"object F: T\r\n  X = 10-5\r\nend", Kind::InvalidNumber, 2, ""},
        {"object F: T\r\n  X = )\r\nend", Kind::InvalidPropertyValue, 2, ""},
        {"object F: T\r\n  X =", Kind::InvalidPropertyValue, 2, ""},
        {"object F: T\r\n  X = {01\r\n 0G}\r\nend", Kind::InvalidBinary, 3, ""},
        {"object F: T\r\n  X = {012}\r\nend", Kind::InvalidBinary, 2, ""},
        {"object F: T\r\n  X = {01\r\n", Kind::Expected, 3, "'}'"},
        {"object F: T\r\n  X = [a b]\r\nend", Kind::Expected, 2, "','"},
        {"object F: T\r\n  X = [a, 1]\r\nend", Kind::Expected, 2, "identifier"},
        {"object F: T\r\n  X = (1\r\n", Kind::Expected, 3, "')'"},
        {"object F: T\r\n  X = <\r\n  thing end>\r\nend", Kind::Expected, 3, "'item'"},
        {"object F: T\r\n  X = <item [a] end>\r\nend", Kind::Expected, 2, "integer"},
        {"object F: T\r\n  X = " + std::string(256, 'a') + "\r\nend", Kind::NameTooLong, 2, ""},
        {"object F: T\r\n  X = 1\r\n  12\r\nend", Kind::Expected, 3, "identifier"},
    };
    for (const Case& c : cases) {
        const FormError e = textError(c.text);
        EXPECT_EQ(e.kind(), c.kind) << c.text << " -> " << e.what();
        EXPECT_EQ(e.line(), c.line) << c.text << " -> " << e.what();
        EXPECT_EQ(e.expected(), c.expected) << c.text << " -> " << e.what();
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("line " + std::to_string(c.line) + ", column " + std::to_string(e.column()) + ": ", 0),
                  0u)
            << message;
        EXPECT_GT(e.column(), 0) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
}

TEST(TextForm, DeepNestingIsRefusedNotACrash)
{
    EXPECT_EQ(textError(formText("  P = " + std::string(100000, '(') + "\r\n")).kind(), Kind::TooDeep);
    std::string objects;
    for (int i = 0; i < 100000; ++i)
        objects += "object T ";
    EXPECT_EQ(textError(objects).kind(), Kind::TooDeep);

    // Real forms nest deep too: 100 levels of panels convert both ways.
    std::string deep;
    for (int i = 0; i < 100; ++i)
        deep += std::string(2 * i, ' ') + "object P" + std::to_string(i) + ": TPanel\r\n";
    for (int i = 99; i >= 0; --i)
        deep += std::string(2 * i, ' ') + "end\r\n";
    EXPECT_EQ(toText(toBinary(deep)), deep);
}

TEST(TextForm, TextToBinaryToTextGivesIdenticalBytes)
{
    const std::string text =
        "object MainForm: TMainForm\r\n"
        "  Left = -129\r\n  Top = 32768\r\n"
        "  Caption = 'Gr\xFC\xDF" "e, '#39'Welt'#39'!'#13#10'Zeile 2'\r\n"
        "  Font.Style = [fsBold, fsItalic]\r\n  Anchors = []\r\n"
        "  Ratio = 0.333333333333333\r\n  Huge = 1.18973149535723E4932\r\n"
        "  Small = 3.64519953188247E-4951\r\n  Whole = 100.0\r\n"
        "  OnCreate = FormCreate\r\n  Tag = nil\r\n  Empty = ()\r\n  NoItems = <>\r\n"
        "  Glyph.Data = {\r\n    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\r\n    FF}\r\n"
        "  Nested = (\r\n    (\r\n      1\r\n      'two')\r\n    {00})\r\n"
        "  Columns = <\r\n    item\r\n      Caption = 'Name'\r\n    end\r\n"
        "    item [1]\r\n      Items.Strings = (\r\n        'a'\r\n        'b')\r\n    end>\r\n"
        "  object Panel1: TPanel\r\n    object TLabel\r\n      Caption = ''\r\n    end\r\n  end\r\n"
        "  inherited Button1: TButton [0]\r\n  end\r\n"
        "end\r\n";
    EXPECT_EQ(toText(toBinary(text)), text);
}

TEST(TextForm, NoLineLengthLimit)
{
    // A caption of 100000 characters is one line of the text form and reads back.
    std::string caption;
    for (int i = 0; i < 100000; ++i)
        caption += static_cast<char>('a' + i % 26);
    const std::string text = formText("  Caption = '" + caption + "'\r\n");
    EXPECT_EQ(valueOf("'" + caption + "'"), byte(12) + u32(caption.size()) + caption);
    EXPECT_EQ(toText(toBinary(text)), text);
}

TEST(TextForm, LongClassNamesReadBack)
{
    // A class name of 240 characters or more would have a length byte that
    // reads as a prefix byte; an empty prefix byte goes before it instead.
    const std::string longName = "T" + std::string(250, 'a');
    const std::string text = "object F: " + longName + "\r\nend\r\n";
    const std::string binary = toBinary(text);
    ASSERT_GT(binary.size(), 6u);
    EXPECT_EQ(static_cast<unsigned char>(binary[4]), 0xF0);
    EXPECT_EQ(static_cast<unsigned char>(binary[5]), 251);
    EXPECT_EQ(toText(binary), text);

    const std::string shorter = "object F: T" + std::string(238, 'a') + "\r\nend\r\n";
    EXPECT_EQ(static_cast<unsigned char>(toBinary(shorter)[4]), 239) << "no prefix below 240";
    EXPECT_EQ(toText(toBinary(shorter)), shorter);
}

namespace {
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};
} // namespace

TEST(TextForm, FloatsUseThePointWhateverTheLocale)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    const char* previousC = std::setlocale(LC_NUMERIC, nullptr);
    const std::string savedC = previousC ? previousC : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // where installed
    const std::string one5 = byte(5) + std::string(7, '\0') + byte(0xC0) + byte(0xFF) + byte(0x3F);
    EXPECT_EQ(valueOf("1.5"), one5);
    EXPECT_EQ(valueOf("15E-1"), one5);
    EXPECT_EQ(valueOf("0.15e+1"), one5);
    EXPECT_EQ(valueOf("1."), one5.substr(0, 8) + byte(0x80) + byte(0xFF) + byte(0x3F));
    EXPECT_EQ(valueOf("-0.0"), byte(5) + std::string(8, '\0') + byte(0) + byte(0x80));
    const std::string text = formText("  Zoom = 1234.5\r\n  Width = 12345678\r\n");
    EXPECT_EQ(toText(toBinary(text)), text);
    std::locale::global(previous);
    std::setlocale(LC_NUMERIC, savedC.c_str());
}
