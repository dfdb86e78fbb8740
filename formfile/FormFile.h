#pragma once
// Delphi form files: the binary layout (a resource header, then "TPF0" and the
// root component record) and the text form shown in the form pages, with the
// converters between them.
//
// The converters work on whole byte buffers; every byte of a string value is
// kept as it is (the text form is 8-bit like the binary one). Numbers are
// always written and read with "." as the decimal separator; nothing here
// depends on the locale.
#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lingrove::formfile {

// The one error type of the converters. what() is one line: for text input it
// starts with "line N: ", for binary input with "byte offset N: ".
class FormError : public std::runtime_error {
public:
    enum class Kind {
        InvalidStreamFormat,   // wrong signature or resource header
        UnexpectedEnd,         // binary data ends inside a record
        UnknownValueType,      // a value type byte outside 0..14 (or 0 where a value must be)
        InvalidComponent,      // unsupported component flags, malformed child position
        NotFinite,             // a floating-point value that is infinite or not a number
        Expected,              // text: a given item was expected (see expected())
        InvalidString,         // text: invalid string constant
        InvalidNumber,         // text: invalid numeric value (also out of range)
        InvalidPropertyValue,  // text: a value cannot start with this token
        InvalidBinary,         // text: invalid binary value
        NameTooLong,           // text: a name longer than 255 characters
        TooDeep,               // nesting deeper than the converters allow
        Io,                    // a file could not be read or written
    };

    FormError(Kind kind, const std::string& message, long line, long long offset,
              std::string expected = {});

    Kind kind() const { return kind_; }
    // 1-based source line of a text error, 0 otherwise.
    long line() const { return line_; }
    // Byte offset of a binary error, -1 otherwise.
    long long offset() const { return offset_; }
    // For Kind::Expected: what was expected ("object", "=", "]", "identifier", ...).
    const std::string& expected() const { return expected_; }

private:
    Kind kind_;
    long line_;
    long long offset_;
    std::string expected_;
};

// Binary form data (from the "TPF0" signature on) to the text form, appended to output.
void BinaryToText(std::string_view input, std::string& output);
// Text form to binary form data ("TPF0" and the root record), appended to output.
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
