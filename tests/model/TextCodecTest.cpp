#include "model/TextCodec.h"

#include <gtest/gtest.h>

using namespace lingrove::model;

namespace {

QByteArray allBytes()
{
    QByteArray b;
    for (int i = 0; i < 256; ++i)
        b.append(static_cast<char>(i));
    return b;
}

void expectRoundTrip(const QByteArray& bytes)
{
    const DecodedText d = decode(bytes);
    EXPECT_EQ(encode(d.text, d), bytes);
}

} // namespace

TEST(TextCodec, EveryByteSurvives)
{
    const QByteArray bytes = allBytes();
    const DecodedText d = decode(bytes);
    EXPECT_EQ(d.encoding, TextEncoding::Windows1252);
    // 256 bytes, two of them (LF and CR, apart) are line breaks.
    EXPECT_EQ(d.text.size(), 256);
    EXPECT_EQ(d.breaks, (QList<LineBreak>{LineBreak::Lf, LineBreak::Cr}));
    EXPECT_EQ(d.text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(d.text.at(0x81), QChar(0x0081));
    EXPECT_EQ(d.text.at(0x9F), QChar(0x0178));
    EXPECT_EQ(d.text.at(0xA0), QChar(0x00A0));
    EXPECT_EQ(d.text.at(0xFF), QChar(0x00FF));
    EXPECT_EQ(encode(d.text, d), bytes);

    // The mapping is one to one.
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(unicodeToWindows1252(windows1252ToUnicode(static_cast<uchar>(b)).unicode()), b);
    for (char16_t c : {u'\u0080', u'\u009F', u'\u0100', u'\u2029', u'\uFFFD'})
        EXPECT_EQ(unicodeToWindows1252(c), -1) << int(c);
}

TEST(TextCodec, CharacterOutsideTheCodePageIsAnError)
{
    const DecodedText d = decode("a\r\nb");
    try {
        encode(QStringLiteral("a\nb\u03A9"), d);
        ADD_FAILURE() << "no error";
    } catch (const EncodeError& e) {
        EXPECT_EQ(e.line(), 2);
        EXPECT_EQ(e.column(), 2);
        EXPECT_NE(std::string(e.what()).find("03a9"), std::string::npos) << e.what();
    }
}

TEST(TextCodec, LineBreakStyles)
{
    const DecodedText crlf = decode("unit A;\r\n\r\nend.\r\n");
    EXPECT_EQ(crlf.text, QStringLiteral("unit A;\n\nend.\n"));
    EXPECT_EQ(crlf.lineBreak, LineBreak::CrLf);
    EXPECT_TRUE(crlf.endsWithLineBreak);

    const DecodedText lf = decode("unit A;\nend.\n");
    EXPECT_EQ(lf.text, QStringLiteral("unit A;\nend.\n"));
    EXPECT_EQ(lf.lineBreak, LineBreak::Lf);

    EXPECT_EQ(decode("a\rb\r").lineBreak, LineBreak::Cr);

    for (const char* s : {"unit A;\r\nend.\r\n", "unit A;\nend.\n", "a\rb", "a\r\nb\nc\rd\r\r\n\n",
                          "\r\n", "\n\r", ""})
        expectRoundTrip(QByteArray(s));
}

TEST(TextCodec, EditsKeepTheFilesBreaks)
{
    // Same number of lines: every break stays as it was, even in a mixed file.
    const DecodedText mixed = decode("x := 'a';\r\ny := 'b';\nz;");
    EXPECT_EQ(encode(QStringLiteral("x := 'Hallo';\ny := 'Welt';\nz;"), mixed),
              QByteArray("x := 'Hallo';\r\ny := 'Welt';\nz;"));
    // A line more: the most frequent style for all breaks.
    const DecodedText lf = decode("a\nb\nc\r\n");
    EXPECT_EQ(encode(QStringLiteral("a\nb\nc\nd\n"), lf), QByteArray("a\nb\nc\nd\n"));
    // Paragraph separators of a document count as breaks.
    EXPECT_EQ(encode(QStringLiteral("a\u2029b"), decode("a\r\nb")), QByteArray("a\r\nb"));
    // No breaks in the file: CR LF.
    EXPECT_EQ(encode(QStringLiteral("a\nb"), decode("a")), QByteArray("a\r\nb"));
}

TEST(TextCodec, FinalLineWithoutBreak)
{
    const DecodedText d = decode("a\r\nb");
    EXPECT_EQ(d.text, QStringLiteral("a\nb"));
    EXPECT_FALSE(d.endsWithLineBreak);
    EXPECT_EQ(encode(d.text, d), QByteArray("a\r\nb"));
    EXPECT_EQ(encode(QStringLiteral("a\nc"), d), QByteArray("a\r\nc"));
}

TEST(TextCodec, Utf8WithByteOrderMark)
{
    const QByteArray bytes("\xEF\xBB\xBFs := '\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80';\r\n");
    const DecodedText d = decode(bytes);
    EXPECT_EQ(d.encoding, TextEncoding::Utf8WithBom);
    EXPECT_EQ(d.text, QStringLiteral("s := '\u00E9\u20AC\U0001F600';\n"));
    EXPECT_EQ(encode(d.text, d), bytes);
    EXPECT_EQ(encode(QStringLiteral("\u03A9"), d), QByteArray("\xEF\xBB\xBF\xCE\xA9"));
    EXPECT_THROW(encode(QString(QChar(0xD800)), d), EncodeError);

    // A mark on malformed UTF-8: read as Windows-1252, every byte kept.
    const QByteArray broken("\xEF\xBB\xBF\xC3(\xFF\r\n");
    const DecodedText b = decode(broken);
    EXPECT_EQ(b.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(encode(b.text, b), broken);
    expectRoundTrip(QByteArray("\xEF\xBB\xBF"));
}
