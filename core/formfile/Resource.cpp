// The resource header around binary form data, the stream forms of the
// converters and the conversion of whole files.
#include "core/io/Files.h"
#include "core/formfile/FormFile.h"
#include "core/formfile/Events.h"
#include "core/formfile/Internal.h"

#include <istream>
#include <iterator>
#include <ostream>

namespace lingrove::formfile {

using namespace detail;

namespace {

// The class name of the root record of binary form data made by TextToBinary.
std::string_view rootClassName(std::string_view data)
{
    std::size_t i = 4; // "TPF0"
    auto at = [&](std::size_t k) -> unsigned char {
        if (k >= data.size())
            badHeader(static_cast<long long>(k), "root record truncated");
        return static_cast<unsigned char>(data[k]);
    };
    if ((at(i) & 0xF0) == 0xF0) {
        const unsigned flags = at(i) & 0x0F;
        ++i;
        if (flags & kFlagChildPos) {
            // Skip the child position (an integer value) as well.
            switch (at(i)) {
            case vaInt8: i += 2; break;
            case vaInt16: i += 3; break;
            case vaInt32: i += 5; break;
            default: badHeader(static_cast<long long>(i), "child position is not an integer");
            }
        }
    }
    const std::size_t length = at(i);
    if (i + 1 + length > data.size())
        badHeader(static_cast<long long>(i), "root record truncated");
    return data.substr(i + 1, length);
}

std::string readAll(std::istream& input)
{
    std::string data{std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
    if (input.bad())
        throw FormError(FormError::Kind::Io, "cannot read the input", 0, -1);
    return data;
}

void writeAll(std::ostream& output, const std::string& data)
{
    output.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!output)
        throw FormError(FormError::Kind::Io, "cannot write the output", 0, -1);
}

} // namespace

void ResourceToText(std::string_view input, std::string& output)
{
    const std::size_t i = skipResourceHeader(input);
    output.reserve(output.size() + input.size() * 2 + 256);
    // Offsets in errors count from the start of the file.
    TextEmitter text(output, TextStyle::Delphi);
    parseBinary(input.substr(i), static_cast<long long>(i), text);
}

void TextToResource(std::string_view input, std::string& output)
{
    std::string data;
    TextToBinary(input, data);
    if (data.size() > 0xFFFFFFFFu)
        throw FormError(FormError::Kind::Io, "form too large for a resource", 0, -1);
    const std::string_view className = rootClassName(data);
    if (!className.empty() && static_cast<unsigned char>(className[0]) == 0xFF)
        throw FormError(FormError::Kind::InvalidComponent,
                        "a class name starting with byte 255 cannot name the form's resource", 0, -1);
    output += '\xFF';
    output += '\x0A';
    output += '\x00';
    for (char c : className)
        output += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    output += '\0';
    output += '\x30';
    output += '\x10';
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int k = 0; k < 4; ++k)
        output += static_cast<char>(size >> (8 * k));
    output += data;
}

void BinaryToText(std::istream& input, std::ostream& output)
{
    std::string out;
    BinaryToText(readAll(input), out);
    writeAll(output, out);
}

void TextToBinary(std::istream& input, std::ostream& output)
{
    std::string out;
    TextToBinary(readAll(input), out);
    writeAll(output, out);
}

void ResourceToText(std::istream& input, std::ostream& output)
{
    std::string out;
    ResourceToText(readAll(input), out);
    writeAll(output, out);
}

void TextToResource(std::istream& input, std::ostream& output)
{
    std::string out;
    TextToResource(readAll(input), out);
    writeAll(output, out);
}

bool convertFormFile(const std::string& src, const std::string& dst, Direction direction, std::string* why)
{
    auto failed = [&](const std::string& reason) {
        if (why)
            *why = reason;
        return false;
    };

    std::string input;
    if (io::readFile(src, input, why) != io::ReadResult::Read)
        return false;

    std::string output;
    try {
        if (direction == Direction::BinaryToText)
            ResourceToText(input, output);
        else
            TextToResource(input, output);
    } catch (const FormError& e) {
        return failed(src + ": " + e.what());
    } catch (const std::bad_alloc&) {
        return failed(src + ": out of memory");
    }
    return io::replaceFile(dst, output, why);
}

} // namespace lingrove::formfile
