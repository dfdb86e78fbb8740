#pragma once
// Files of a Delphi project are 8-bit text. decode() turns a file's bytes into
// the text a page shows; encode() turns the page's text back into bytes, so
// that a page opened and saved without edits writes back the same bytes.
//
// Characters: bytes are Windows-1252. The five bytes that code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 control characters
// of the same number, so every byte 0..255 has a character and comes back.
// A file that starts with the UTF-8 byte-order mark and is well-formed UTF-8
// is read as UTF-8 and written back as UTF-8 with its mark; with a mark but
// malformed, it is read as Windows-1252 like any other file.
//
// Line breaks: CR LF, a lone LF and a lone CR each end a line and become "\n"
// in the text. decode() records each break of the file in order; encode()
// writes "\n" (also CR LF, lone CR and U+2029, the paragraph separator of a
// QTextDocument) back as the recorded break of the same number while the text
// has as many breaks as the file had, and as the file's most frequent break
// style otherwise (CR LF for a file without breaks).
//
// Final line: the text ends with "\n" exactly when the file ends with a line
// break, so a final line without a break is written back without one.
#include <QByteArray>
#include <QList>
#include <QString>
#include <stdexcept>
#include <string_view>

namespace lingrove::model {

enum class TextEncoding { Windows1252, Utf8WithBom };
enum class LineBreak : quint8 { CrLf, Lf, Cr };

struct DecodedText {
    QString text;                                  // lines joined with "\n"
    TextEncoding encoding = TextEncoding::Windows1252;
    LineBreak lineBreak = LineBreak::CrLf;         // the most frequent style
    bool endsWithLineBreak = false;
    QList<LineBreak> breaks;                       // every break, in file order
};

// A character that the file's encoding cannot hold.
class EncodeError : public std::runtime_error {
public:
    EncodeError(const QString& message, int line, int column);
    int line() const { return line_; }      // 1-based
    int column() const { return column_; }  // 1-based
private:
    int line_;
    int column_;
};

// The character of a Windows-1252 byte.
QChar windows1252ToUnicode(uchar byte);
// The byte of a character in Windows-1252, or -1 when it has none.
int unicodeToWindows1252(char16_t c);
// Windows-1252 bytes as text, byte for character.
QString fromWindows1252(std::string_view bytes);
QString fromWindows1252(const QByteArray& bytes);
// Text as Windows-1252 bytes; a character that the code page lacks becomes
// "?", as an 8-bit edit field would have it.
QByteArray toWindows1252(const QString& text);
// Text of a small 8-bit file of a Windows program (the recent projects):
// UTF-8 when it is valid UTF-8, else Windows-1252; and back: Windows-1252
// when every character fits, else UTF-8.
QString decodeText(const QByteArray& bytes);
QByteArray encodeText(const QString& text);

// Text printed by a program: UTF-8 when the bytes are valid UTF-8 (what the
// Linux tools print), else Windows-1252.
QString decodeProgramOutput(const QByteArray& bytes);

// One line of a page as the string scanner takes it: one Windows-1252 byte
// per UTF-16 unit, so that the scanner's columns are the page's columns. A
// character the code page lacks becomes "?"; exact (when given) tells
// whether that happened, and then the texts are to be taken from the line
// itself at the columns the scanner found.
std::string scannerBytes(const QString& line, bool* exact = nullptr);
// The same into bytes, whose storage is reused.
void scannerBytes(QStringView line, std::string& bytes, bool* exact = nullptr);

DecodedText decode(const QByteArray& bytes);

// The bytes of plain in the encoding and line-break style of how. Throws
// EncodeError when a character cannot be written in that encoding.
QByteArray encode(const QString& plain, const DecodedText& how);

// The bytes of one line break.
QByteArray lineBreakBytes(LineBreak style);

} // namespace lingrove::model
