#include "core/pascal/PasConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

using namespace lingrove::pascal;
using K = TokenKind;

namespace lingrove::pascal {
void PrintTo(const Token& t, std::ostream* os)
{
    *os << "{kind " << static_cast<int>(t.kind) << ", \"" << t.text << "\"}";
}
} // namespace lingrove::pascal

namespace {

std::vector<Token> tok(std::string_view s, SourceEncoding e = SourceEncoding::Windows1252)
{
    bool inProperty = false;
    return tokenize(s, inProperty, e);
}

const std::string kBody = "\\deflang1033\\pard\\plain\\f2\\fs20 ";

// The converted text between the header and the closing "\r\n\par }".
std::string body(std::string_view source, const ColourScheme& scheme = ColourScheme{})
{
    const std::string rtf = pascalToRtf(source, scheme);
    const auto start = rtf.find(kBody);
    EXPECT_NE(start, std::string::npos);
    std::string b = rtf.substr(start + kBody.size());
    const std::string end = "\r\n\\par }";
    EXPECT_TRUE(b.size() >= end.size() && b.compare(b.size() - end.size(), end.size(), end) == 0) << b;
    return b.substr(0, b.size() - end.size());
}

// Group depth never drops below zero and ends at zero, counting only braces
// that are not escaped.
bool balanced(const std::string& rtf)
{
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        if (rtf[i] == '{')
            ++depth;
        else if (rtf[i] == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

} // namespace

TEST(PascalTokens, SourcesSplitIntoTheirTokens)
{
    const std::pair<std::string, std::vector<Token>> cases[] = {
        {"x1 := Begin 12 $1F #13#10 'a' ^|",
         {{K::Identifier, "x1"}, {K::Whitespace, " "}, {K::Symbol, ":="}, {K::Whitespace, " "},
          {K::ReservedWord, "Begin"}, {K::Whitespace, " "}, {K::Number, "12"}, {K::Whitespace, " "},
          {K::Number, "$1F"}, {K::Whitespace, " "}, {K::String, "#13#10"}, {K::Whitespace, " "},
          {K::String, "'a'"}, {K::Whitespace, " "}, {K::Symbol, "^"}, {K::PlainText, "|"}}},
        {"\t\x01 \x1f", {{K::Whitespace, "\t\x01 \x1f"}}},
        {"read", {{K::BareWord, "read"}}},
        // Numbers take dots and exponents.
        {"1..10", {{K::Number, "1..10"}}},
        {"1.5E3+2", {{K::Number, "1.5E3"}, {K::Symbol, "+"}, {K::Number, "2"}}},
        {"$aBcDeFg _a9_",
         {{K::Number, "$aBcDeF"}, {K::Identifier, "g"}, {K::Whitespace, " "}, {K::Identifier, "_a9_"}}},
        // Braces in a string; a doubled apostrophe gives two strings.
        {"'{a} }';", {{K::String, "'{a} }'"}, {K::Symbol, ";"}}},
        {"'it''s'", {{K::String, "'it'"}, {K::String, "'s'"}}},
        // Comments: over lines (no empty comment for an empty line), unclosed, up to the break.
        {"{one\r\ntwo\r\nthree}x",
         {{K::Comment, "{one"}, {K::LineBreak, "\r\n"}, {K::Comment, "two"}, {K::LineBreak, "\r\n"},
          {K::Comment, "three}"}, {K::Identifier, "x"}}},
        {"(*a\r\n\r\nb*)", {{K::Comment, "(*a"}, {K::LineBreak, "\r\n"}, {K::LineBreak, "\r\n"}, {K::Comment, "b*)"}}},
        {"(*)x", {{K::Comment, "(*)"}, {K::Identifier, "x"}}},
        {":=(* c *);", {{K::Symbol, ":="}, {K::Comment, "(* c *)"}, {K::Symbol, ";"}}},
        {"(* open", {{K::Comment, "(* open"}}},
        {"{ open", {{K::Comment, "{ open"}}},
        {";// {x}\r\ny", {{K::Symbol, ";"}, {K::Comment, "// {x}"}, {K::LineBreak, "\r\n"}, {K::Identifier, "y"}}},
        // CR LF, lone LF and lone CR each end one line.
        {"a\r\nb\nc\r\r\nd",
         {{K::Identifier, "a"}, {K::LineBreak, "\r\n"}, {K::Identifier, "b"}, {K::LineBreak, "\n"},
          {K::Identifier, "c"}, {K::LineBreak, "\r"}, {K::LineBreak, "\r\n"}, {K::Identifier, "d"}}},
    };
    for (const auto& [source, tokens] : cases)
        EXPECT_EQ(tok(source), tokens) << source;
    EXPECT_NE(body("s := '{a} }';").find("{\\cf8 '\\{a\\} \\}'}"), std::string::npos);
}

TEST(PascalTokens, UnterminatedStringIsAnError)
{
    for (std::string_view s : {"'abc", "x := 'abc\r\n';", "'abc\n'", "'"}) {
        try {
            tok(s);
            ADD_FAILURE() << "no error for " << s;
        } catch (const ConversionError& e) {
            EXPECT_STREQ(e.what(), "Invalid string");
        }
    }
    TPasConversion c;
    c.load("x := 'open");
    EXPECT_THROW(c.ConvertToRtf(), ConversionError);
    EXPECT_EQ(c.content(), "x := 'open");
}

TEST(PascalTokens, DirectiveRule)
{
    // READ in a property declaration is reserved; in a statement it is a bare word.
    bool inProperty = false;
    const auto decl = tokenize("property Size: Integer read FSize write SetSize;", inProperty);
    EXPECT_EQ(decl[0].kind, K::ReservedWord);
    EXPECT_EQ(decl[7], (Token{K::ReservedWord, "read"}));
    EXPECT_EQ(decl[11], (Token{K::ReservedWord, "write"}));
    EXPECT_TRUE(inProperty);

    // NAME, RESIDENT and STRINGRESOURCE stay bare words inside a property.
    EXPECT_EQ(classifyWord("name", inProperty), K::BareWord);
    EXPECT_EQ(classifyWord("Resident", inProperty), K::BareWord);
    EXPECT_EQ(classifyWord("STRINGRESOURCE", inProperty), K::BareWord);
    EXPECT_EQ(classifyWord("stored", inProperty), K::ReservedWord);

    // PROTECTED ends the declaration: READ is a bare word again.
    EXPECT_EQ(classifyWord("protected", inProperty), K::ReservedWord);
    EXPECT_FALSE(inProperty);
    EXPECT_EQ(classifyWord("read", inProperty), K::BareWord);
    EXPECT_EQ(classifyWord("index", inProperty), K::BareWord);
    EXPECT_EQ(classifyWord("Readln", inProperty), K::Identifier);

    for (auto w : propertyEndWords()) {
        bool flag = true;
        EXPECT_EQ(classifyWord(w, flag), K::ReservedWord) << w;
        EXPECT_FALSE(flag) << w;
    }
}

TEST(PascalTokens, WordTablesAndTheirFastPathAgree)
{
    const auto in = [](const std::vector<std::string_view>& list, std::string_view w) {
        return std::find(list.begin(), list.end(), w) != list.end();
    };
    EXPECT_TRUE(std::is_sorted(reservedWords().begin(), reservedWords().end()));
    for (auto w : reservedWords()) {
        std::string lower(w);
        for (auto& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        bool flag = false, lowerFlag = false;
        const auto k = classifyWord(w, flag);
        EXPECT_EQ(k, in(propertyDirectives(), w) ? K::BareWord : K::ReservedWord) << w;
        EXPECT_EQ(classifyWord(lower, lowerFlag), k) << lower;
    }
    // The same inside a long text, where words are read 16 bytes at a time,
    // and with a letter more or less.
    std::string text;
    for (auto w : reservedWords())
        text.append(w).append(" q").append(w).append(" ").append(w.substr(1)).append(1, ' ');
    const auto t = tok(text);
    for (std::size_t n = 0; n < reservedWords().size(); ++n) {
        const auto w = reservedWords()[n];
        if (w == "PROPERTY" || in(propertyEndWords(), w))
            continue;   // these change the flag; see DirectiveRule
        bool f = false;
        EXPECT_EQ(t[6 * n].kind, in(propertyDirectives(), w) ? K::BareWord : K::ReservedWord) << w;
        EXPECT_EQ(t[6 * n + 2].kind, K::Identifier) << t[6 * n + 2].text;
        EXPECT_EQ(t[6 * n + 4].kind, classifyWord(w.substr(1), f)) << t[6 * n + 4].text;
    }
    bool flag = false;
    EXPECT_EQ(classifyWord("BEGINX", flag), K::Identifier);
    EXPECT_EQ(classifyWord("b~gin", flag), K::Identifier);
    EXPECT_EQ(classifyWord("STRINGRESOURCEX", flag), K::Identifier);
}

TEST(PascalTokens, PropertyFlagCarriesOverBetweenConversions)
{
    TPasConversion c;
    c.setColourScheme(ColourScheme{});
    c.convert("property P: Integer");
    EXPECT_TRUE(c.inProperty());
    EXPECT_NE(c.convert("read").find("{\\cf5 read}"), std::string::npos);
}

TEST(PascalLineBreaks, EveryBreakStyleIsOneParagraph)
{
    EXPECT_EQ(body("a\nb\n"), "{\\cf4 a}\n\\par{\\cf4 b}\n\\par");
    EXPECT_NE(body("// {x}\\").find("{\\cf1 // \\{x\\}\\\\}"), std::string::npos);
}

TEST(PascalLineBreaks, LoneCarriageReturnAtTheEnd)
{
    // The buffer holds exactly the input, so a read past it shows under ASan.
    const std::string src = "x\r";
    const std::string_view exact(src.data(), src.size());
    EXPECT_EQ(body(exact), "{\\cf4 x}\r\\par");
    EXPECT_EQ(body("\r"), "\r\\par");
}

TEST(PascalLineBreaks, BareWordAfterBreakIsDelimited)
{
    const std::string b = body("x\r\nread");
    EXPECT_EQ(b, "{\\cf4 x}\r\n\\par read");
    EXPECT_EQ(b.find("\\parread"), std::string::npos);
}

TEST(PascalRtf, PrefixesFollowTheStyles)
{
    ColourScheme s;
    s[K::ReservedWord] = TokenStyle{Rgb{0, 0, 0}, true, false, false};
    s[K::Comment] = TokenStyle{Rgb{0, 0, 128}, true, true, true};
    s[K::LineBreak] = TokenStyle{Rgb{9, 9, 9}, true, true, true};   // ignored
    TPasConversion c;
    c.setColourScheme(s);
    EXPECT_EQ(c.prefix(K::Comment), "{\\b \\i \\ul \\cf1 ");
    EXPECT_EQ(c.prefix(K::LineBreak), "");
    EXPECT_EQ(c.colourTable().substr(0, 40), "\\red0\\green0\\blue0;\\red0\\green0\\blue128;");

    c.load("begin");
    c.ConvertToRtf();
    EXPECT_NE(c.content().find("{\\b \\cf5 begin}\r\n\\par }"), std::string::npos);
    EXPECT_THROW(c.HighlightVersion(4, s), HighlightVersionError);
}

TEST(PascalRtf, EightBitAndControlCharactersAreEscaped)
{
    std::string src = "'";
    for (int c = 32; c < 256; ++c)
        if (c != '\'')
            src += static_cast<char>(c);
    src += "' {\t\x01} \xe9\x00|";
    src += std::string(1, '\0') + "z";
    const std::string rtf = pascalToRtf(src, ColourScheme{});
    for (unsigned char c : rtf)
        EXPECT_LT(c, 128) << "raw 8-bit byte in RTF";
    EXPECT_TRUE(balanced(rtf));
    EXPECT_NE(rtf.find("\\'80\\'81"), std::string::npos);
    EXPECT_NE(rtf.find("\\'fe\\'ff'}"), std::string::npos);
    EXPECT_NE(rtf.find("{\\cf1 \\{\\tab \\'01\\}}"), std::string::npos);
    EXPECT_NE(rtf.find("{\\cf10 \\'e9}"), std::string::npos);
    // A zero byte is a character like any other, not the end of the text.
    EXPECT_NE(rtf.find("{\\cf10 \\'00}{\\cf4 z}"), std::string::npos);
    // Backslash and braces outside strings and comments are escaped too.
    EXPECT_EQ(body("}\\"), "{\\cf10 \\}}{\\cf9 \\\\}");
}

TEST(PascalRtf, Utf8SourceBecomesUnicodeEscapes)
{
    // e-acute, euro sign, an emoji (surrogate pair), then a stray byte.
    const std::string src = "'\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\xff' \xc3\xa9";
    const std::string rtf = pascalToRtf(src, ColourScheme{}, SourceEncoding::Utf8);
    EXPECT_NE(rtf.find("{\\cf8 '\\u233?\\u8364?\\u-10179?\\u-8704?\\u-3?'}"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("{\\cf10 \\u233?}"), std::string::npos);
    const auto t = tok("\xc3\xa9x\xe2\x82", SourceEncoding::Utf8);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0], (Token{K::PlainText, "\xc3\xa9"}));
    EXPECT_EQ(t[2], (Token{K::PlainText, "\xe2"}));
}

TEST(PascalRtf, AnyInputGivesBalancedGroups)
{
    // Every byte pair, as a cheap stand-in for fuzzing the writer.
    for (int a = 0; a < 256; ++a) {
        for (int b : std::initializer_list<int>{0, '\'', '{', '}', '\\', '*', ')', '\r', '\n', 0xc3, 0xa9, 'e'}) {
            const std::string src = {static_cast<char>(a), static_cast<char>(b), 'x'};
            for (auto enc : {SourceEncoding::Windows1252, SourceEncoding::Utf8}) {
                std::string rtf;
                try {
                    rtf = pascalToRtf(src, ColourScheme{}, enc);
                } catch (const ConversionError&) {
                    continue;
                }
                EXPECT_TRUE(balanced(rtf)) << a << " " << b;
                // The tokens cover the text exactly.
                std::string joined;
                for (const auto& t : tok(src, enc))
                    joined.append(t.text);
                EXPECT_EQ(joined, src) << a << " " << b;
            }
        }
    }
}
