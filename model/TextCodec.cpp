#include "model/TextCodec.h"

#include "core/text/Encoding.h"

#include <QStringDecoder>

#include <array>
#include <string_view>

namespace lingrove::model {

namespace {

constexpr char16_t kParagraphSeparator = 0x2029;

// Appends the characters of the file to text, turning each break into "\n".
template <class Chars>
void splitLines(const Chars& chars, qsizetype n, DecodedText& out)
{
    QString& text = out.text;
    text.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = chars(i);
        if (c == u'\r') {
            if (i + 1 < n && chars(i + 1) == u'\n') {
                out.breaks.append(LineBreak::CrLf);
                ++i;
            } else {
                out.breaks.append(LineBreak::Cr);
            }
            text.append(QChar(u'\n'));
        } else if (c == u'\n') {
            out.breaks.append(LineBreak::Lf);
            text.append(QChar(u'\n'));
        } else {
            text.append(QChar(c));
        }
    }
}

void summarise(DecodedText& out)
{
    int count[3] = {0, 0, 0};
    for (LineBreak b : out.breaks)
        ++count[static_cast<int>(b)];
    out.lineBreak = LineBreak::CrLf;
    if (count[1] > count[0] && count[1] >= count[2])
        out.lineBreak = LineBreak::Lf;
    else if (count[2] > count[0] && count[2] > count[1])
        out.lineBreak = LineBreak::Cr;
    out.endsWithLineBreak = out.text.endsWith(QChar(u'\n'));
}

bool isBreak(const QString& s, qsizetype i, qsizetype* length)
{
    const char16_t c = s.at(i).unicode();
    if (c == u'\r') {
        *length = (i + 1 < s.size() && s.at(i + 1) == QChar(u'\n')) ? 2 : 1;
        return true;
    }
    if (c == u'\n' || c == kParagraphSeparator) {
        *length = 1;
        return true;
    }
    return false;
}

} // namespace

EncodeError::EncodeError(const QString& message, int line, int column)
    : std::runtime_error(message.toStdString()), line_(line), column_(column)
{
}

QChar windows1252ToUnicode(uchar byte)
{
    return QChar(static_cast<char16_t>(text::fromWindows1252(byte)));
}

int unicodeToWindows1252(char16_t c)
{
    return text::toWindows1252(c);
}

QString fromWindows1252(std::string_view bytes)
{
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* d = out.data();
    for (char b : bytes)
        *d++ = windows1252ToUnicode(static_cast<uchar>(b));
    return out;
}

QString fromWindows1252(const QByteArray& bytes)
{
    return fromWindows1252(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QByteArray toWindows1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t cp : text.toUcs4()) {
        const int b = text::toWindows1252(cp);
        out.append(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

QString decodeText(const QByteArray& bytes)
{
    if (text::isValidUtf8(std::string_view(bytes.constData(), std::size_t(bytes.size()))))
        return QString::fromUtf8(bytes);
    return fromWindows1252(bytes);
}

QByteArray encodeText(const QString& text)
{
    for (const QChar c : text)
        if (unicodeToWindows1252(c.unicode()) < 0)
            return text.toUtf8();
    return toWindows1252(text);
}

QString decodeProgramOutput(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return fromWindows1252(bytes);
}

std::string scannerBytes(const QString& line, bool* exact)
{
    std::string bytes;
    scannerBytes(QStringView(line), bytes, exact);
    return bytes;
}

void scannerBytes(QStringView line, std::string& bytes, bool* exact)
{
    bytes.resize(static_cast<std::size_t>(line.size()));
    bool allMapped = true;
    const QChar* chars = line.data();
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t c = chars[i].unicode();
        int b = c < 0x80 ? int(c) : unicodeToWindows1252(c);
        if (b < 0) {
            b = '?';
            allMapped = false;
        }
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(b);
    }
    if (exact)
        *exact = allMapped;
}

QByteArray lineBreakBytes(LineBreak style)
{
    switch (style) {
    case LineBreak::Lf:
        return QByteArrayLiteral("\n");
    case LineBreak::Cr:
        return QByteArrayLiteral("\r");
    case LineBreak::CrLf:
        break;
    }
    return QByteArrayLiteral("\r\n");
}

DecodedText decode(const QByteArray& bytes)
{
    DecodedText out;
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (text::hasUtf8ByteOrderMark(view) && text::isValidUtf8(view.substr(3))) {
        out.encoding = TextEncoding::Utf8WithBom;
        const QString chars = QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
        splitLines([&](qsizetype i) { return chars.at(i).unicode(); }, chars.size(), out);
    } else {
        std::array<char16_t, 256> table{};
        for (int b = 0; b < 256; ++b)
            table[b] = windows1252ToUnicode(static_cast<uchar>(b)).unicode();
        const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
        splitLines([&](qsizetype i) { return table[data[i]]; }, bytes.size(), out);
    }
    summarise(out);
    return out;
}

QByteArray encode(const QString& plain, const DecodedText& how)
{
    // Count the breaks first: the recorded ones apply only when the count matches.
    qsizetype breakCount = 0;
    for (qsizetype i = 0, len = 0; i < plain.size(); ++i)
        if (isBreak(plain, i, &len)) {
            ++breakCount;
            i += len - 1;
        }
    const bool recorded = breakCount == how.breaks.size();
    const bool utf8 = how.encoding == TextEncoding::Utf8WithBom;

    QByteArray out;
    out.reserve(plain.size() + breakCount + (utf8 ? plain.size() + 3 : 0));
    if (utf8)
        out.append("\xEF\xBB\xBF", 3);

    int line = 1;
    qsizetype lineStart = 0;
    qsizetype breakIndex = 0;
    qsizetype runStart = 0;
    const auto flushUtf8 = [&](qsizetype end) {
        if (utf8 && end > runStart)
            out.append(plain.mid(runStart, end - runStart).toUtf8());
    };
    for (qsizetype i = 0; i < plain.size(); ++i) {
        qsizetype len = 0;
        if (isBreak(plain, i, &len)) {
            flushUtf8(i);
            out.append(lineBreakBytes(recorded ? how.breaks.at(breakIndex) : how.lineBreak));
            ++breakIndex;
            i += len - 1;
            ++line;
            lineStart = i + 1;
            runStart = i + 1;
            continue;
        }
        const char16_t c = plain.at(i).unicode();
        const auto fail = [&](const char* why) {
            throw EncodeError(QStringLiteral("Line %1, column %2: the character U+%3 %4")
                                  .arg(line)
                                  .arg(i - lineStart + 1)
                                  .arg(static_cast<uint>(c), 4, 16, QChar(u'0'))
                                  .arg(QString::fromLatin1(why)),
                              line, static_cast<int>(i - lineStart + 1));
        };
        if (utf8) {
            if (QChar::isHighSurrogate(c)) {
                if (i + 1 < plain.size() && QChar::isLowSurrogate(plain.at(i + 1).unicode()))
                    ++i;
                else
                    fail("is half of a surrogate pair");
            } else if (QChar::isLowSurrogate(c)) {
                fail("is half of a surrogate pair");
            }
            continue;
        }
        const int b = unicodeToWindows1252(c);
        if (b < 0)
            fail("has no byte in the Windows-1252 code page");
        out.append(static_cast<char>(b));
    }
    flushUtf8(plain.size());
    return out;
}

} // namespace lingrove::model
