#include "model/TextCodec.h"

#include <gtest/gtest.h>

using namespace lingrove::model;

namespace {

void expectRoundTrip(const QByteArray& bytes)
{
    const DecodedText d = decode(bytes);
    EXPECT_EQ(encode(d.text, d), bytes) << bytes.toStdString();
}

} // namespace

TEST(TextCodec, EveryByteAndEveryBreakStyleSurvives)
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(static_cast<char>(i));
    const DecodedText d = decode(bytes);
    EXPECT_EQ(d.encoding, TextEncoding::Windows1252);
    // 256 bytes, two of them (LF and CR, apart) are line breaks.
    EXPECT_EQ(d.text.size(), 256);
    EXPECT_EQ(d.breaks, (QList<LineBreak>{LineBreak::Lf, LineBreak::Cr}));
    EXPECT_EQ(d.text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(d.text.at(0x81), QChar(0x0081));   // undefined in the code page
    EXPECT_EQ(encode(d.text, d), bytes);

    for (const char* s : {"unit A;\r\nend.\r\n", "unit A;\nend.\n", "a\rb", "a\r\nb\nc\rd\r\r\n\n", "\r\n", "\n\r", ""})
        expectRoundTrip(QByteArray(s));
    const DecodedText crlf = decode("unit A;\r\n\r\nend.\r\n");
    EXPECT_EQ(crlf.text, "unit A;\n\nend.\n");
    EXPECT_EQ(crlf.lineBreak, LineBreak::CrLf);
    EXPECT_TRUE(crlf.endsWithLineBreak);
    EXPECT_EQ(decode("a\nb\r\nc\n").lineBreak, LineBreak::Lf);
    EXPECT_EQ(decode("a\rb\r").lineBreak, LineBreak::Cr);
}

TEST(TextCodec, CharacterOutsideTheCodePageIsAnError)
{
    try {
        encode(QStringLiteral("a\nb\u03A9"), decode("a\r\nb"));
        ADD_FAILURE() << "no error";
    } catch (const EncodeError& e) {
        EXPECT_EQ(e.line(), 2);
        EXPECT_EQ(e.column(), 2);
        EXPECT_NE(std::string(e.what()).find("03a9"), std::string::npos) << e.what();
    }
}

TEST(TextCodec, EditsKeepTheFilesBreaks)
{
    // Same number of lines: every break stays as it was, even in a mixed file.
    const DecodedText mixed = decode("x := 'a';\r\ny := 'b';\nz;");
    EXPECT_EQ(encode("x := 'Hallo';\ny := 'Welt';\nz;", mixed), "x := 'Hallo';\r\ny := 'Welt';\nz;");
    // A line more: the most frequent style for all breaks.
    EXPECT_EQ(encode("a\nb\nc\nd\n", decode("a\nb\nc\r\n")), "a\nb\nc\nd\n");
    // Paragraph separators of a document count as breaks.
    EXPECT_EQ(encode(QStringLiteral("a\u2029b"), decode("a\r\nb")), "a\r\nb");
    // No breaks in the file: CR LF.
    EXPECT_EQ(encode("a\nb", decode("a")), "a\r\nb");
    // A final line without a break stays without one.
    const DecodedText d = decode("a\r\nb");
    EXPECT_EQ(d.text, "a\nb");
    EXPECT_FALSE(d.endsWithLineBreak);
    EXPECT_EQ(encode("a\nc", d), "a\r\nc");
}

TEST(TextCodec, Utf8WithByteOrderMark)
{
    const QByteArray bytes("\xEF\xBB\xBFs := '\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80';\r\n");
    const DecodedText d = decode(bytes);
    EXPECT_EQ(d.encoding, TextEncoding::Utf8WithBom);
    EXPECT_EQ(d.text, QStringLiteral("s := '\u00E9\u20AC\U0001F600';\n"));
    EXPECT_EQ(encode(d.text, d), bytes);
    EXPECT_EQ(encode(QStringLiteral("\u03A9"), d), "\xEF\xBB\xBF\xCE\xA9");
    EXPECT_THROW(encode(QString(QChar(0xD800)), d), EncodeError);

    // A mark on malformed UTF-8: read as Windows-1252, every byte kept.
    const QByteArray broken("\xEF\xBB\xBF\xC3(\xFF\r\n");
    EXPECT_EQ(decode(broken).encoding, TextEncoding::Windows1252);
    expectRoundTrip(broken);
    expectRoundTrip(QByteArray("\xEF\xBB\xBF"));
}
