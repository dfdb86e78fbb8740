#include "model/RtfReader.h"

#include "core/pascal/PasConversion.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace lingrove;
using namespace lingrove::model;
using pascal::Rgb;
using pascal::TokenKind;
using pascal::TokenStyle;

namespace {

// Every kind its own colour: red = the kind's index.
pascal::ColourScheme distinctScheme()
{
    pascal::ColourScheme s;
    for (int k = 0; k < pascal::kTokenKindCount; ++k)
        s.styles[k].colour = Rgb{static_cast<quint8>(10 * k + 5), 0, 0};
    s[TokenKind::ReservedWord].bold = true;
    s[TokenKind::Comment].italic = true;
    s[TokenKind::String].underline = true;
    return s;
}

QTextCharFormat formatAt(QTextDocument& doc, int position)
{
    QTextCursor c(&doc);
    c.setPosition(position + 1);
    return c.charFormat();
}

// Loads bytes as a page does and checks that the text is the decoded text
// and that saving it unchanged gives the same bytes.
void expectPageRoundTrip(const QByteArray& bytes)
{
    QTextDocument doc;
    const DecodedText how = loadPascalSource(doc, bytes, pascal::ColourScheme::classic());
    EXPECT_EQ(documentText(doc), how.text);
    EXPECT_EQ(encode(documentText(doc), how), bytes);
}

} // namespace

TEST(RtfReader, PagesGiveBackTheirBytes)
{
    QByteArray inString = "s := '";
    QByteArray inComment = "{";
    for (int c = 32; c < 256; ++c) {
        if (c != '\'')
            inString.append(static_cast<char>(c));
        if (c != '}')
            inComment.append(static_cast<char>(c));
    }
    const QByteArray bytes = inString + "';\r\n" + inComment + "}\r\n" + QByteArray("\t\x01|\xe9\x00z\x7f", 7);
    expectPageRoundTrip(bytes);
    for (const char* s : {"a\r\nb\r\n", "a\r\nb", "a\nb\n", "a\rb", "\r\n", "\r\n\r\n", "", "x",
                          "{one\r\ntwo\r\nthree}\r\n", "a\n\r\nb\r",
                          "\xEF\xBB\xBFs := '\xC3\xA9\xF0\x9F\x98\x80'; { \xE2\x82\xAC }\n\xC3\xA9"})
        expectPageRoundTrip(QByteArray(s));

    QTextDocument doc;
    loadPascalSource(doc, bytes, pascal::ColourScheme::classic());
    EXPECT_EQ(doc.blockCount(), 3);
    EXPECT_TRUE(doc.begin().text().contains(QStringLiteral("\u20AC\u0081\u201A")));
    EXPECT_FALSE(doc.isUndoAvailable());
    loadPascalSource(doc, "a\r\nb\r\n", pascal::ColourScheme::classic());
    EXPECT_EQ(doc.blockCount(), 3);   // the last line is empty

    // An unterminated literal is refused and the document keeps its text.
    try {
        loadPascalSource(doc, "x := 'open\r\n", pascal::ColourScheme::classic());
        ADD_FAILURE() << "no error";
    } catch (const pascal::ConversionError& e) {
        EXPECT_STREQ(e.what(), "Invalid string");
    }
    EXPECT_EQ(documentText(doc), "a\nb\n");
}

TEST(RtfReader, ColoursAndStylesLandOnTheirCharacters)
{
    QTextDocument doc;
    const QByteArray src = "begin x := 'a'; {c}\r\n  read end";
    loadPascalSource(doc, src, distinctScheme());
    ASSERT_EQ(documentText(doc), QStringLiteral("begin x := 'a'; {c}\n  read end"));

    const auto red = [&](int pos) { return formatAt(doc, pos).foreground().color().red(); };
    const auto expectKind = [&](int from, int to, TokenKind k) {
        for (int p = from; p < to; ++p)
            EXPECT_EQ(red(p), 10 * static_cast<int>(k) + 5) << "position " << p;
    };
    expectKind(0, 5, TokenKind::ReservedWord);
    // A blank goes with the run before it: its colour does not show.
    expectKind(5, 6, TokenKind::ReservedWord);
    expectKind(6, 7, TokenKind::Identifier);
    expectKind(8, 10, TokenKind::Symbol);
    expectKind(11, 14, TokenKind::String);
    expectKind(14, 15, TokenKind::Symbol);
    expectKind(16, 19, TokenKind::Comment);
    expectKind(27, 30, TokenKind::ReservedWord);

    EXPECT_EQ(formatAt(doc, 0).fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(doc, 6).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(doc, 17).fontItalic());
    EXPECT_FALSE(formatAt(doc, 6).fontItalic());
    EXPECT_TRUE(formatAt(doc, 12).fontUnderline());
    EXPECT_FALSE(formatAt(doc, 15).fontUnderline());
    // A bare word (READ outside a property) has no colour group: default colour.
    EXPECT_FALSE(formatAt(doc, 23).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_NE(formatAt(doc, 23).fontWeight(), QFont::Bold);
}

TEST(RtfReader, GeneralRtf)
{
    QTextDocument doc;
    const RtfContent c = loadRtf(doc,
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Courier New;}}"
        "{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator Hand;}{\\info{\\title T}}"
        "\\pard\\plain \\'e9\\u8364?\\uc2\\u937\\'3f\\'3fz{\\cf1 \\b r\\b0 s}\\\\\\{\\}\\tab x\\par y\\par}");
    EXPECT_EQ(c.fonts, (QStringList{QStringLiteral("Arial"), QStringLiteral("Courier New")}));
    ASSERT_EQ(c.colours.size(), 2);
    EXPECT_FALSE(c.colours[0].isValid());
    EXPECT_EQ(c.colours[1], QColor(255, 0, 0));
    EXPECT_EQ(documentText(doc), QStringLiteral("\u00E9\u20AC\u03A9zrs\\{}\tx\ny"));
    EXPECT_EQ(formatAt(doc, 4).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(doc, 4).fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(doc, 5).fontWeight(), QFont::Bold);
    EXPECT_FALSE(formatAt(doc, 6).hasProperty(QTextFormat::ForegroundBrush));

    // Truncated input ends quietly.
    for (const char* bad : {"{\\rtf1 a\\", "{\\rtf1 \\'e", "{\\rtf1 }}}}", "{{{{\\u", "\\b-"})
        EXPECT_NO_THROW(loadRtf(doc, bad));
}
