// Binary form data -> text, and back to the same bytes.
#include "FormTestUtil.h"

#include <gtest/gtest.h>

using namespace formtest;
using lingrove::formfile::FormError;

namespace {

// One property written to text must give exactly the expected line, and that
// text must convert back into the same bytes.
void expectProperty(const std::string& value, const std::string& expectedLine)
{
    const std::string binary = form(prop("P", value));
    const std::string text = toText(binary);
    EXPECT_EQ(text, formText("  P = " + expectedLine + "\r\n"));
    EXPECT_EQ(toBinary(text), binary) << text;
}

FormError errorOf(const std::string& binary)
{
    try {
        toText(binary);
    } catch (const FormError& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return FormError(FormError::Kind::Io, "", 0, -1);
}

} // namespace

TEST(BinaryForm, EveryValueTypeWrittenAndReadBack)
{
    expectProperty(byte(2) + byte(-5), "-5");
    expectProperty(byte(3) + byte(0x10) + byte(0x27), "10000");
    expectProperty(byte(4) + u32(0x80000000u), "-2147483648");
    // 1.5 as extended: significand 0xC000..., exponent 0x3FFF.
    expectProperty(byte(5) + std::string(7, '\0') + byte(0xC0) + byte(0xFF) + byte(0x3F), "1.5");
    expectProperty(byte(6) + shortStr("Hello"), "'Hello'");
    expectProperty(byte(7) + shortStr("clBtnFace"), "clBtnFace");
    expectProperty(byte(8), "False");
    expectProperty(byte(9), "True");
    expectProperty(byte(10) + u32(2) + "\x01\xAB", "{01AB}");
    expectProperty(byte(11) + shortStr("biSystemMenu") + shortStr("biMinimize") + byte(0),
                   "[biSystemMenu, biMinimize]");
    expectProperty(byte(12) + u32(300) + std::string(300, 'x'), "'" + std::string(300, 'x') + "'");
    expectProperty(byte(13), "nil");
    expectProperty(byte(7) + shortStr("Form1.Button1Click"), "Form1.Button1Click");
}

TEST(BinaryForm, ListsSetsAndCollectionsIncludingEmptyOnes)
{
    expectProperty(byte(1) + byte(0), "()");
    expectProperty(byte(11) + byte(0), "[]");
    expectProperty(byte(14) + byte(0), "<>");
    expectProperty(byte(1) + byte(6) + shortStr("One") + byte(2) + byte(7) + byte(0), "(\r\n    'One'\r\n    7)");
    // A list inside a list indents one level more.
    expectProperty(byte(1) + byte(1) + byte(9) + byte(0) + byte(0), "(\r\n    (\r\n      True))");
    // Collection items with and without index; a nested list inside an item.
    expectProperty(byte(14) + byte(1) + prop("Width", byte(2) + byte(50)) + byte(0) + byte(2) + byte(3) + byte(1)
                       + prop("Text", byte(6) + shortStr("x")) + prop("L", byte(1) + byte(8) + byte(0)) + byte(0)
                       + byte(0),
                   "<\r\n    item\r\n      Width = 50\r\n    end\r\n    item [3]\r\n      Text = 'x'\r\n"
                   "      L = (\r\n        False)\r\n    end>");
}

TEST(BinaryForm, StringsInRunsWithCharacterCodes)
{
    expectProperty(byte(6) + shortStr(""), "''");
    expectProperty(byte(6) + shortStr("Don't"), "'Don'#39't'");
    expectProperty(byte(6) + shortStr("'"), "#39");
    expectProperty(byte(6) + shortStr("First\r\nSecond"), "'First'#13#10'Second'");
    expectProperty(byte(6) + shortStr(std::string("\0\t", 2) + "x"), "#0#9'x'");
    // Bytes 128..255 stay themselves inside the quotes (ö = 246 in Latin-1).
    expectProperty(byte(6) + shortStr("\xD6" "ffnen \xFC\x80\xFF"), "'\xD6" "ffnen \xFC\x80\xFF'");
    // A long string is never split over lines.
    EXPECT_EQ(toText(form(prop("P", byte(12) + u32(5000) + std::string(5000, 'a')))),
              formText("  P = '" + std::string(5000, 'a') + "'\r\n"));
}

TEST(BinaryForm, BinaryDataInChunksOf32Bytes)
{
    auto data = [](int n) {
        std::string d;
        for (int i = 0; i < n; ++i)
            d += static_cast<char>(i * 7);
        return d;
    };
    auto hex = [](const std::string& d) {
        std::string h;
        for (unsigned char c : d) {
            h += "0123456789ABCDEF"[c >> 4];
            h += "0123456789ABCDEF"[c & 15];
        }
        return h;
    };
    expectProperty(byte(10) + u32(0), "{}");
    expectProperty(byte(10) + u32(31) + data(31), "{" + hex(data(31)) + "}");
    expectProperty(byte(10) + u32(32) + data(32), "{\r\n    " + hex(data(32)) + "}");
    const std::string d40 = data(40);
    expectProperty(byte(10) + u32(40) + d40,
                   "{\r\n    " + hex(d40.substr(0, 32)) + "\r\n    " + hex(d40.substr(32)) + "}");
}

TEST(BinaryForm, ComponentHeaders)
{
    const std::string child1 = shortStr("TLabel") + shortStr("") + byte(0) + byte(0);
    const std::string child2 = byte(0xF1) + shortStr("TButton") + shortStr("OK") + byte(0) + byte(0);
    const std::string child3 = byte(0xF3) + byte(2) + byte(5) + shortStr("TPanel") + shortStr("P") + byte(0) + byte(0);
    const std::string child4 = byte(0xF2) + byte(3) + u32(0x1234).substr(0, 2) + shortStr("TEdit") + shortStr("E")
                               + byte(0) + byte(0);
    const std::string binary = form("", child1 + child2 + child3 + child4);
    const std::string text = toText(binary);
    EXPECT_EQ(text, "object Form1: TForm1\r\n"
                    "  object TLabel\r\n  end\r\n"
                    "  inherited OK: TButton\r\n  end\r\n"
                    "  inherited P: TPanel [5]\r\n  end\r\n"
                    "  object E: TEdit [4660]\r\n  end\r\n"
                    "end\r\n");
    // The position 4660 comes back as a 16-bit integer, everything else byte for byte.
    EXPECT_EQ(toBinary(text), binary);
}

TEST(BinaryForm, MalformedDataFailsWithOffset)
{
    EXPECT_EQ(errorOf("TPF1").kind(), FormError::Kind::InvalidStreamFormat);
    EXPECT_EQ(errorOf("TP").kind(), FormError::Kind::UnexpectedEnd);

    // An unknown value type names the byte and its offset instead of going on out of step.
    const std::string bad = form(prop("P", byte(22)));
    const FormError e = errorOf(bad);
    EXPECT_EQ(e.kind(), FormError::Kind::UnknownValueType);
    EXPECT_EQ(e.offset(), static_cast<long long>(bad.find('\x16')));
    EXPECT_NE(std::string(e.what()).find("value type 22"), std::string::npos) << e.what();
    EXPECT_EQ(errorOf(form(prop("P", byte(0)))).kind(), FormError::Kind::UnknownValueType);

    // Truncated payloads.
    EXPECT_EQ(errorOf(form(prop("P", byte(10) + u32(100) + "ab"))).kind(), FormError::Kind::UnexpectedEnd);
    EXPECT_EQ(errorOf(form(prop("P", byte(6) + byte(9) + "ab"))).kind(), FormError::Kind::UnexpectedEnd);
    EXPECT_EQ(errorOf(form(prop("P", byte(1) + byte(2)))).kind(), FormError::Kind::UnexpectedEnd);
    EXPECT_EQ(errorOf(form("").substr(0, 12)).kind(), FormError::Kind::UnexpectedEnd);

    // Infinity and NaN have no text form that reads back.
    EXPECT_EQ(errorOf(form(prop("P", byte(5) + std::string(7, '\0') + byte(0x80) + byte(0xFF) + byte(0x7F)))).kind(),
              FormError::Kind::NotFinite);
    // Component flags that this layout does not know, and a child position that is no integer.
    EXPECT_EQ(errorOf(form("", byte(0xF8) + shortStr("T") + shortStr("") + byte(0) + byte(0))).kind(),
              FormError::Kind::InvalidComponent);
    EXPECT_EQ(errorOf(form("", byte(0xF2) + byte(6) + shortStr("T") + shortStr("") + byte(0) + byte(0))).kind(),
              FormError::Kind::InvalidComponent);
    // Collection items start with a list.
    EXPECT_EQ(errorOf(form(prop("P", byte(14) + byte(6)))).kind(), FormError::Kind::UnknownValueType);
}

TEST(BinaryForm, DeepNestingIsRefusedNotACrash)
{
    std::string nested;
    for (int i = 0; i < 100000; ++i)
        nested += byte(1);
    EXPECT_EQ(errorOf(form(prop("P", nested))).kind(), FormError::Kind::TooDeep);
}

TEST(ResourceHeader, WrittenWithUpperCaseClassNameAndSkippedOnReading)
{
    const std::string text = formText("  Caption = 'x'\r\n");
    std::string resource;
    lingrove::formfile::TextToResource(text, resource);
    const std::string data = toBinary(text);
    EXPECT_EQ(resource, std::string("\xFF\x0A\x00TFORM1\x00\x30\x10", 12) + u32(static_cast<std::uint32_t>(data.size()))
                            + data);
    std::string back;
    lingrove::formfile::ResourceToText(resource, back);
    EXPECT_EQ(back, text);
}

TEST(ResourceHeader, RootWithChildPositionStillNamesItsClass)
{
    std::string resource;
    lingrove::formfile::TextToResource("inherited Frame: TMyFrame [300]\r\nend\r\n", resource);
    EXPECT_EQ(resource.substr(0, 12), std::string("\xFF\x0A\x00TMYFRAME\x00", 12));
}

TEST(ResourceHeader, BadHeadersAndOffsetsWithinTheFile)
{
    auto kindOf = [](const std::string& input) {
        std::string out;
        try {
            lingrove::formfile::ResourceToText(input, out);
        } catch (const FormError& e) {
            return e.kind();
        }
        return FormError::Kind::Io;
    };
    EXPECT_EQ(kindOf(""), FormError::Kind::InvalidStreamFormat);
    EXPECT_EQ(kindOf("TPF0"), FormError::Kind::InvalidStreamFormat);
    EXPECT_EQ(kindOf(std::string("\xFF\x0B\x00X\x00", 5)), FormError::Kind::InvalidStreamFormat);
    EXPECT_EQ(kindOf(std::string("\xFF\x0A\x00XYZ", 6)), FormError::Kind::InvalidStreamFormat);
    EXPECT_EQ(kindOf(std::string("\xFF\x0A\x00X\x00\x30\x10", 7)), FormError::Kind::InvalidStreamFormat);

    // A name given by number (0xFF and 16 bits) is skipped as such.
    const std::string data = form("");
    std::string out;
    lingrove::formfile::ResourceToText(std::string("\xFF\x0A\x00\xFF\x01\x00\x30\x10", 8) + u32(0) + data, out);
    EXPECT_EQ(out, "object Form1: TForm1\r\nend\r\n");

    // Offsets of data errors count from the start of the file.
    const std::string header = std::string("\xFF\x0A\x00TFORM1\x00\x30\x10", 12) + u32(0);
    const std::string bad = form(prop("P", byte(22)));
    try {
        lingrove::formfile::ResourceToText(header + bad, out);
        FAIL();
    } catch (const FormError& e) {
        EXPECT_EQ(e.offset(), static_cast<long long>(header.size() + bad.find('\x16')));
        EXPECT_EQ(std::string(e.what()).rfind("byte offset " + std::to_string(e.offset()) + ": ", 0), 0u) << e.what();
    }
}
