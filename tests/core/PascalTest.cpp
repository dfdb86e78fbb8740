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

std::vector<K> kinds(std::string_view s)
{
    std::vector<K> out;
    for (const auto& t : tok(s))
        out.push_back(t.kind);
    return out;
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

TEST(PascalTokens, EveryKindIsRecognised)
{
    const auto t = tok("x1 := Begin 12 $1F #13#10 'a' ^|");
    const std::vector<Token> expected = {
        {K::Identifier, "x1"}, {K::Whitespace, " "}, {K::Symbol, ":="},   {K::Whitespace, " "},
        {K::ReservedWord, "Begin"}, {K::Whitespace, " "}, {K::Number, "12"}, {K::Whitespace, " "},
        {K::Number, "$1F"},     {K::Whitespace, " "}, {K::String, "#13#10"}, {K::Whitespace, " "},
        {K::String, "'a'"},     {K::Whitespace, " "}, {K::Symbol, "^"},   {K::PlainText, "|"},
    };
    EXPECT_EQ(t, expected);

    EXPECT_EQ(tok("{c}")[0], (Token{K::Comment, "{c}"}));
    EXPECT_EQ(tok("a\r\nb")[1], (Token{K::LineBreak, "\r\n"}));
    EXPECT_EQ(tok("\t\x01 \x1f")[0], (Token{K::Whitespace, "\t\x01 \x1f"}));
    EXPECT_EQ(tok("read")[0], (Token{K::BareWord, "read"}));
}

TEST(PascalTokens, NumbersTakeDotsAndExponents)
{
    EXPECT_EQ(tok("1..10")[0], (Token{K::Number, "1..10"}));
    EXPECT_EQ(tok("1.5E3+2")[0], (Token{K::Number, "1.5E3"}));
    EXPECT_EQ(tok("$aBcDeFg")[0], (Token{K::Number, "$aBcDeF"}));
    EXPECT_EQ(tok("_a9_ b")[0], (Token{K::Identifier, "_a9_"}));
}

TEST(PascalTokens, StringWithBracesAssignedToIdentifier)
{
    const auto t = tok("s := '{a} }';");
    const std::vector<Token> expected = {
        {K::Identifier, "s"}, {K::Whitespace, " "},       {K::Symbol, ":="},
        {K::Whitespace, " "}, {K::String, "'{a} }'"}, {K::Symbol, ";"},
    };
    EXPECT_EQ(t, expected);
    EXPECT_NE(body("s := '{a} }';").find("{\\cf8 '\\{a\\} \\}'}"), std::string::npos);
}

TEST(PascalTokens, DoubledApostropheGivesTwoStringTokens)
{
    const std::vector<Token> expected = {{K::String, "'it'"}, {K::String, "'s'"}};
    EXPECT_EQ(tok("'it''s'"), expected);
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
    EXPECT_TRUE(std::is_sorted(reservedWords().begin(), reservedWords().end()));
    for (auto w : reservedWords()) {
        bool flag = false;
        const auto k = classifyWord(w, flag);
        const bool directive = std::find(propertyDirectives().begin(), propertyDirectives().end(), w)
                               != propertyDirectives().end();
        EXPECT_EQ(k, directive ? K::BareWord : K::ReservedWord) << w;
        std::string lower(w);
        for (auto& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        flag = false;
        EXPECT_EQ(classifyWord(lower, flag), k) << lower;
    }
    // The same inside a long text, where words are read 16 bytes at a time,
    // and with a letter more or less.
    std::string text;
    for (auto w : reservedWords())
        text.append(w).append(" q").append(w).append(" ").append(w.substr(1)).append(1, ' ');
    const auto t = tok(text);
    std::size_t i = 0;
    for (auto w : reservedWords()) {
        const bool directive = std::find(propertyDirectives().begin(), propertyDirectives().end(), w)
                               != propertyDirectives().end();
        if (w == "PROPERTY" || std::find(propertyEndWords().begin(), propertyEndWords().end(), w)
                                   != propertyEndWords().end()) {
            i += 6;   // these change the flag; checked above
            continue;
        }
        EXPECT_EQ(t[i].kind, directive ? K::BareWord : K::ReservedWord) << w;
        EXPECT_EQ(t[i + 2].kind, K::Identifier) << t[i + 2].text;
        bool f = false;
        EXPECT_EQ(t[i + 4].kind, classifyWord(w.substr(1), f)) << t[i + 4].text;
        i += 6;
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

TEST(PascalComments, BraceCommentOverThreeLines)
{
    const std::vector<Token> expected = {
        {K::Comment, "{one"}, {K::LineBreak, "\r\n"}, {K::Comment, "two"},
        {K::LineBreak, "\r\n"}, {K::Comment, "three}"}, {K::Identifier, "x"},
    };
    EXPECT_EQ(tok("{one\r\ntwo\r\nthree}x"), expected);
    // An empty line inside a comment gives no empty comment token.
    EXPECT_EQ(kinds("(*a\r\n\r\nb*)"),
              (std::vector<K>{K::Comment, K::LineBreak, K::LineBreak, K::Comment}));
}

TEST(PascalComments, ParenStarForms)
{
    EXPECT_EQ(tok("(*)x")[0], (Token{K::Comment, "(*)"}));
    EXPECT_EQ(tok("(*)x")[1], (Token{K::Identifier, "x"}));
    const std::vector<Token> expected = {{K::Symbol, ":="}, {K::Comment, "(* c *)"}, {K::Symbol, ";"}};
    EXPECT_EQ(tok(":=(* c *);"), expected);
    // Unclosed: runs to the end.
    EXPECT_EQ(tok("(* open")[0], (Token{K::Comment, "(* open"}));
    EXPECT_EQ(tok("{ open")[0], (Token{K::Comment, "{ open"}));
}

TEST(PascalComments, LineCommentStopsBeforeTheBreak)
{
    const std::vector<Token> expected = {
        {K::Symbol, ";"}, {K::Comment, "// {x}"}, {K::LineBreak, "\r\n"}, {K::Identifier, "y"}};
    EXPECT_EQ(tok(";// {x}\r\ny"), expected);
    EXPECT_NE(body("// {x}\\").find("{\\cf1 // \\{x\\}\\\\}"), std::string::npos);
}

TEST(PascalLineBreaks, EveryBreakStyleIsOneParagraph)
{
    // CR LF, lone LF and lone CR each end one line.
    const std::vector<Token> expected = {
        {K::Identifier, "a"}, {K::LineBreak, "\r\n"}, {K::Identifier, "b"}, {K::LineBreak, "\n"},
        {K::Identifier, "c"}, {K::LineBreak, "\r"},   {K::LineBreak, "\r\n"}, {K::Identifier, "d"},
    };
    EXPECT_EQ(tok("a\r\nb\nc\r\r\nd"), expected);
    EXPECT_EQ(body("a\nb\n"), "{\\cf4 a}\n\\par{\\cf4 b}\n\\par");
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
    EXPECT_EQ(c.prefix(K::ReservedWord), "{\\b \\cf5 ");
    EXPECT_EQ(c.prefix(K::Comment), "{\\b \\i \\ul \\cf1 ");
    EXPECT_EQ(c.suffix(K::Comment), "}");
    EXPECT_EQ(c.prefix(K::LineBreak), "");
    EXPECT_EQ(c.suffix(K::LineBreak), "\\par");
    EXPECT_EQ(c.prefix(K::BareWord), "");
    EXPECT_EQ(c.suffix(K::BareWord), "");
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
