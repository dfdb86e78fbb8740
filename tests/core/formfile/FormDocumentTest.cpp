// Page text of a form and writing the form back from an edited page text.
#include "FormTestUtil.h"
#include "core/formfile/FormDocument.h"

using namespace formtest;
using namespace lingrove::formfile;

namespace {

std::string replaced(std::string s, const std::string& from, const std::string& to)
{
    const std::size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        s.replace(at, from.size(), to);
    return s;
}

} // namespace

TEST(PageText, WholeLiteralsInWindows1252)
{
    const std::string data = form(prop("Caption", byte(6) + shortStr("Don't \xF6")) + prop("Hint", byte(6) + shortStr("a\r\nb"))
                                  + prop("Items", byte(1) + byte(12) + u32(3) + "abc" + byte(0)));
    const FormDocument doc = FormDocument::load(resource(data));
    EXPECT_EQ(doc.format(), FormFormat::Resource);
    EXPECT_EQ(doc.pageEncoding(), PageEncoding::Windows1252);
    EXPECT_EQ(doc.pageText(), formText("  Caption = 'Don''t \xF6'\r\n  Hint = 'a'#13#10'b'\r\n"
                                       "  Items = (\r\n    LString('abc'))\r\n"));
    // The page text is a text form that gives the same bytes.
    EXPECT_EQ(toBinary(doc.pageText()), data);
}

TEST(PageText, UnicodeValuesMakeAUtf8Page)
{
    const std::string data = form(prop("Caption", byte(20) + u32(7) + "Gr\xC3\xB6\xC3\x9F" "e")
                                  + prop("Old", byte(6) + shortStr("\xE4\x80")) + prop("Tab", byte(18) + u32(2) + std::string("\x09\x00\x1F\x04", 4)));
    const FormDocument doc = FormDocument::load(data);
    EXPECT_EQ(doc.format(), FormFormat::Data);
    EXPECT_EQ(doc.pageEncoding(), PageEncoding::Utf8);
    EXPECT_EQ(doc.pageText(), kBom + formText("  Caption = 'Gr\xC3\xB6\xC3\x9F" "e'\r\n"
                                              "  Old = String('\xC3\xA4\xE2\x82\xAC')\r\n"
                                              "  Tab = WString(#9'\xD0\x9F')\r\n"));
    EXPECT_EQ(toBinary(doc.pageText()), data);
}

TEST(Apply, UneditedPageTextGivesTheSameBytes)
{
    // Binary with bytes after the form data, and text with LF line ends and
    // Delphi's own spellings (continuations, codes, odd blanks).
    const std::string binary = resource(form(prop("Ratio", byte(5) + std::string("\xAB\xAA\xAA\xAA\xAA\xAA\xAA\xAA\xFD\x3F", 10))))
                               + "trailing bytes";
    const std::string text = "object F: TF\n  Left =  10\n  Caption = \n    'Gr'#246#223'e' +\n    'x'\n"
                             "  Value = 50.000000000000000000\nend\n";
    for (const std::string& file : {binary, text}) {
        const FormDocument doc = FormDocument::load(file);
        EXPECT_EQ(doc.apply(doc.pageText()), file);
    }
}

TEST(Apply, EditedStringsInABinaryForm)
{
    const std::string data = form(prop("Caption", byte(6) + shortStr("Hello")) + prop("Left", byte(2) + byte(5)));
    const FormDocument doc = FormDocument::load(resource(data) + "tail");
    // Still 8-bit while Windows-1252 holds it.
    std::string out = doc.apply(replaced(doc.pageText(), "'Hello'", "'Gr\xFC\xDF" "e'"));
    EXPECT_EQ(out, resource(form(prop("Caption", byte(6) + shortStr("Gr\xFC\xDF" "e")) + prop("Left", byte(2) + byte(5))))
                       + "tail");
    // Cyrillic in a UTF-8 page: a wide string (UTF-16, the form having no UTF-8 strings).
    out = doc.apply(kBom + replaced(doc.pageText(), "'Hello'", "'\xD0\x9F\xD1\x80'"));
    EXPECT_EQ(out, resource(form(prop("Caption", byte(18) + u32(2) + "\x1F\x04\x40\x04") + prop("Left", byte(2) + byte(5))))
                       + "tail");
    // Another number is written too.
    out = doc.apply(replaced(doc.pageText(), "Left = 5", "Left = 1000"));
    EXPECT_EQ(out, resource(form(prop("Caption", byte(6) + shortStr("Hello")) + prop("Left", byte(3) + byte(0xE8) + byte(3))))
                       + "tail");
}

TEST(Apply, EditedStringsInATextFormKeepItsEncodingAndLineBreaks)
{
    const std::string text = "object F: TF\n"
                             "  Caption = 'Hello'\n"
                             "  Items.Strings = (\n"
                             "    'one'\n"
                             "    'two')\n"
                             "  Left = 5\n"
                             "end\n";
    const FormDocument doc = FormDocument::load(text);
    std::string page = replaced(doc.pageText(), "'Hello'", "'Gr\xFC\xDF" "e ''x'''");
    page = replaced(page, "'two'", "'" + std::string(70, 'a') + "'");
    EXPECT_EQ(doc.apply(page), "object F: TF\n"
                               "  Caption = 'Gr\xFC\xDF" "e '#39'x'#39\n"
                               "  Items.Strings = (\n"
                               "    'one'\n"
                               "    \n"
                               "      '" + std::string(64, 'a') + "' +\n"
                               "      'aaaaaa')\n"
                               "  Left = 5\n"
                               "end\n");
    // Characters Windows-1252 cannot hold become codes; a UTF-8 file takes them as they are.
    EXPECT_EQ(doc.apply(kBom + replaced(doc.pageText(), "'Hello'", "'\xD0\x9F" "a'")),
              replaced(text, "'Hello'", "#1055'a'"));
    const FormDocument utf8 = FormDocument::load(kBom + text);
    EXPECT_EQ(utf8.apply(kBom + replaced(utf8.pageText(), "'Hello'", "'\xD0\x9F" "a'#9")),
              kBom + replaced(text, "'Hello'", "'\xD0\x9F" "a'#9"));
}

TEST(Apply, AnythingButValuesIsRefusedWithItsPlace)
{
    const FormDocument doc = FormDocument::load(formText("  Caption = 'x'\r\n  Left = 5\r\n"));
    const auto applyError = [&](const std::string& page) { return errorOf([&] { doc.apply(page); }); };
    FormError e = applyError(formText("  Capton = 'x'\r\n  Left = 5\r\n"));
    EXPECT_EQ(e.kind(), Kind::StructureChanged);
    EXPECT_EQ(e.line(), 2);
    EXPECT_EQ(e.column(), 3);
    EXPECT_NE(std::string(e.what()).find("property 'Caption'"), std::string::npos) << e.what();
    e = applyError(formText("  Caption = 'x'\r\n"));
    EXPECT_EQ(e.kind(), Kind::StructureChanged);
    // A page text that does not parse names its line and column.
    e = applyError(formText("  Caption = 'x\r\n  Left = 5\r\n"));
    EXPECT_EQ(e.kind(), Kind::InvalidString);
    EXPECT_EQ(e.line(), 2);
}
