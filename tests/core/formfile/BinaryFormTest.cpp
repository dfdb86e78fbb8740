// Binary form data -> text, and back to the same bytes.
#include "FormTestUtil.h"

using namespace formtest;

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
}

TEST(BinaryForm, BinaryDataInChunksOf32Bytes)
{
    const auto hex = [](std::size_t n) {
        std::string h;
        for (std::size_t i = 0; i < n; ++i)
            h += "A5";
        return h;
    };
    expectProperty(byte(10) + u32(0), "{}");
    expectProperty(byte(10) + u32(31) + std::string(31, '\xA5'), "{" + hex(31) + "}");
    expectProperty(byte(10) + u32(32) + std::string(32, '\xA5'), "{\r\n    " + hex(32) + "}");
    expectProperty(byte(10) + u32(40) + std::string(40, '\xA5'), "{\r\n    " + hex(32) + "\r\n    " + hex(8) + "}");
}

TEST(BinaryForm, ComponentFlagsAndChildPositions)
{
    const auto child = [](const std::string& prefix, const std::string& cls, const std::string& name) {
        return prefix + shortStr(cls) + shortStr(name) + byte(0) + byte(0);
    };
    const std::string binary =
        form("", child("", "TLabel", "") + child(byte(0xF1), "TButton", "OK")
                     + child(byte(0xF3) + byte(2) + byte(5), "TPanel", "P")
                     + child(byte(0xF2) + byte(3) + byte(0x34) + byte(0x12), "TEdit", "E")
                     + child(byte(0xF4), "TFrame1", "Frame11") + child(byte(0xF5), "TFrame2", "Frame21")
                     + child(byte(0xF6) + byte(2) + byte(3), "TFrame3", "F3")
                     + child(byte(0xF2) + byte(4) + u32(7), "TEdit", "E2"));
    const std::string text = toText(binary);
    EXPECT_EQ(text, "object Form1: TForm1\r\n"
                    "  object TLabel\r\n  end\r\n"
                    "  inherited OK: TButton\r\n  end\r\n"
                    "  inherited P: TPanel [5]\r\n  end\r\n"
                    "  object E: TEdit [4660]\r\n  end\r\n"
                    "  inline Frame11: TFrame1\r\n  end\r\n"
                    "  inherited inline Frame21: TFrame2\r\n  end\r\n"
                    "  inline F3: TFrame3 [3]\r\n  end\r\n"
                    "  object E2: TEdit [Int32(7)]\r\n  end\r\n"
                    "end\r\n");
    EXPECT_EQ(toBinary(text), binary);
    // "inherited inline" is a name after all when a colon follows.
    EXPECT_EQ(toBinary("inherited inline: TX end"),
              "TPF0" + byte(0xF1) + shortStr("TX") + shortStr("inline") + byte(0) + byte(0));
    // Words that end or start objects may name classes, and values.
    EXPECT_EQ(toText(toBinary("object T: end\r\n  P = end\r\nend\r\n")), "object T: end\r\n  P = end\r\nend\r\n");
}

TEST(BinaryForm, MalformedDataFailsWithOffset)
{
    // An unknown value type names the byte and its offset instead of going on out of step.
    const std::string bad = form(prop("P", byte(22)));
    const FormError e = binaryError(bad);
    EXPECT_EQ(e.kind(), Kind::UnknownValueType);
    EXPECT_EQ(e.offset(), static_cast<long long>(bad.find('\x16')));
    EXPECT_NE(std::string(e.what()).find("value type 22"), std::string::npos) << e.what();

    const std::string infinity = byte(5) + std::string(7, '\0') + byte(0x80) + byte(0xFF) + byte(0x7F);
    const std::pair<std::string, Kind> cases[] = {
        {"TPF1", Kind::InvalidStreamFormat},
        {"TP", Kind::UnexpectedEnd},
        {form(prop("P", byte(0))), Kind::UnknownValueType},
        // Truncated payloads.
        {form(prop("P", byte(10) + u32(100) + "ab")), Kind::UnexpectedEnd},
        {form(prop("P", byte(6) + byte(9) + "ab")), Kind::UnexpectedEnd},
        {form(prop("P", byte(1) + byte(2))), Kind::UnexpectedEnd},
        {form("").substr(0, 12), Kind::UnexpectedEnd},
        // Infinity and NaN have no text form that reads back.
        {form(prop("P", infinity)), Kind::NotFinite},
        // Component flags that this layout does not know, and a child position that is no integer.
        {form("", byte(0xF8) + shortStr("T") + shortStr("") + byte(0) + byte(0)), Kind::InvalidComponent},
        {form("", byte(0xF2) + byte(6) + shortStr("T") + shortStr("") + byte(0) + byte(0)), Kind::InvalidComponent},
        // Collection items start with a list.
        {form(prop("P", byte(14) + byte(6))), Kind::UnknownValueType},
        // Deep nesting is refused, not a crash.
        {form(prop("P", std::string(100000, '\x01'))), Kind::TooDeep},
    };
    for (const auto& [binary, kind] : cases)
        EXPECT_EQ(binaryError(binary).kind(), kind) << binary.size();
}

TEST(ResourceHeader, WrittenWithUpperCaseClassNameAndSkippedOnReading)
{
    const std::string text = formText("  Caption = 'x'\r\n");
    std::string written, back;
    lingrove::formfile::TextToResource(text, written);
    EXPECT_EQ(written, resource(toBinary(text)));
    lingrove::formfile::ResourceToText(written, back);
    EXPECT_EQ(back, text);

    std::string frame;
    lingrove::formfile::TextToResource("inherited Frame: TMyFrame [300]\r\nend\r\n", frame);
    EXPECT_EQ(frame.substr(0, 12), std::string("\xFF\x0A\x00TMYFRAME\x00", 12));
}

TEST(ResourceHeader, BadHeadersAndOffsetsWithinTheFile)
{
    std::string out;
    const auto resourceError = [&](const std::string& input) {
        return errorOf([&] { lingrove::formfile::ResourceToText(input, out); });
    };
    for (const std::string& bad : {std::string(), std::string("TPF0"), std::string("\xFF\x0B\x00X\x00", 5),
                                   std::string("\xFF\x0A\x00XYZ", 6), std::string("\xFF\x0A\x00X\x00\x30\x10", 7)})
        EXPECT_EQ(resourceError(bad).kind(), Kind::InvalidStreamFormat) << bad;

    // A name given by number (0xFF and 16 bits) is skipped as such.
    lingrove::formfile::ResourceToText(std::string("\xFF\x0A\x00\xFF\x01\x00\x30\x10", 8) + u32(0) + form(""), out);
    EXPECT_EQ(out, "object Form1: TForm1\r\nend\r\n");

    // Offsets of data errors count from the start of the file.
    const std::string bad = resource(form(prop("P", byte(22))));
    const FormError e = resourceError(bad);
    EXPECT_EQ(e.offset(), static_cast<long long>(bad.size() - 3));
    EXPECT_EQ(std::string(e.what()).rfind("byte offset " + std::to_string(e.offset()) + ": ", 0), 0u) << e.what();
}
