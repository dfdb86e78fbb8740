#pragma once
// Delphi form files: the binary layout (a resource header, then "TPF0" and the
// root component record) and the text form shown in the form pages, with the
// converters between them.
//
// The converters work on whole byte buffers. Every value type of Delphi's
// binary layout (0..21) has a notation in the text form that reads back as the
// same type and bytes: Delphi's own where it has one (1.5s Single, 123400c
// Currency, 36526d Date, #nnn for UTF-16 units), and TypeName(value) for the
// few encodings Delphi's notation cannot tell apart (WString('abc'),
// UTF8String('x'), LString('short'), String('8-bit'), Int16(5), Int32(5),
// Int64(5), Double(1.5)). The text written by BinaryToText is 8-bit; the
// reader takes 8-bit text (Windows-1252) and UTF-8 with a byte-order mark.
// Numbers are always written and read with "." as the decimal separator;
// nothing here depends on the locale.
#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lingrove::formfile {

// The one error type of the converters. what() is one line: for text input it
// starts with "line N, column C: " (columns count characters), for binary
// input with "byte offset N: ".
class FormError : public std::runtime_error {
public:
    enum class Kind {
        InvalidStreamFormat,   // wrong signature or resource header
        UnexpectedEnd,         // binary data ends inside a record
        UnknownValueType,      // a value type byte outside 0..21 (or 0 where a value must be)
        InvalidComponent,      // unsupported component flags, malformed child position
        NotFinite,             // a floating-point value that is infinite, not a number or not normalized
        Expected,              // text: a given item was expected (see expected())
        InvalidString,         // text: invalid string constant
        InvalidNumber,         // text: invalid numeric value (also out of range)
        InvalidPropertyValue,  // text: a value cannot start with this token
        InvalidBinary,         // text: invalid binary value
        NameTooLong,           // text: a name longer than 255 characters
        InvalidCharacter,      // a character the value's type cannot hold, or text that is not UTF-8
        TooDeep,               // nesting deeper than the converters allow
        StructureChanged,      // an edited page text no longer matches its form (see FormDocument.h)
        Io,                    // a file could not be read or written
    };

    FormError(Kind kind, const std::string& message, long line, long long offset,
              std::string expected = {}, long column = 0);

    Kind kind() const { return kind_; }
    // 1-based source line of a text error, 0 otherwise.
    long line() const { return line_; }
    // 1-based column (in characters) of a text error, 0 otherwise.
    long column() const { return column_; }
    // Byte offset of a binary error, -1 otherwise.
    long long offset() const { return offset_; }
    // For Kind::Expected: what was expected ("object", "=", "]", "identifier", ...).
    const std::string& expected() const { return expected_; }

private:
    Kind kind_;
    long line_;
    long column_;
    long long offset_;
    std::string expected_;
};

// Binary form data (from the "TPF0" signature on) to the text form, appended to
// output. Strings are written as Delphi writes them (quoted runs and #nnn codes),
// never split over lines.
void BinaryToText(std::string_view input, std::string& output);
// Text form to binary form data ("TPF0" and the root record), appended to
// output. Each value gets the type Delphi's reader gives it: a string with a
// #nnn code above 127, or (in UTF-8 text) with any character outside ASCII, is
// a wide string, stored as UTF-8 when that is shorter than UTF-16 and as
// UTF-16 otherwise; other strings are 8-bit (short up to 255 bytes); integers
// take the smallest of 8, 16, 32 and 64 bits.
void TextToBinary(std::string_view input, std::string& output);
// A binary form file with its resource header to the text form.
void ResourceToText(std::string_view input, std::string& output);
// The text form to a binary form file with its resource header.
void TextToResource(std::string_view input, std::string& output);

// The same on streams: the input is read from its current position to its end.
void BinaryToText(std::istream& input, std::ostream& output);
void TextToBinary(std::istream& input, std::ostream& output);
void ResourceToText(std::istream& input, std::ostream& output);
void TextToResource(std::istream& input, std::ostream& output);

// The numbering of the form pages: 0 = text to binary (saving), 1 = binary to text (loading).
enum class Direction { TextToBinary = 0, BinaryToText = 1 };

// Converts the form file src (a binary form file with resource header, or a
// text form) into dst. The result is written to a temporary file beside dst
// and renamed over dst only when everything succeeded, so that on failure the
// previous dst is untouched. src and dst may be the same file. On failure
// returns false and, when why is given, sets it to one line naming the file
// and the reason.
bool convertFormFile(const std::string& src, const std::string& dst, Direction direction,
                     std::string* why = nullptr);

} // namespace lingrove::formfile
