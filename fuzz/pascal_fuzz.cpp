// The tokens cover the input exactly, in order; the RTF is 7-bit with
// balanced groups; an error is only ever "Invalid string".
#include "core/pascal/PasConversion.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace lingrove::pascal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto encoding = (data[0] & 1) ? SourceEncoding::Utf8 : SourceEncoding::Windows1252;
    // An exact-size copy, so that a read past the end shows.
    const std::string source(reinterpret_cast<const char*>(data + 1), size - 1);

    bool inProperty = false;
    bool valid = true;
    try {
        std::string joined;
        for (const auto& t : tokenize(source, inProperty, encoding))
            joined.append(t.text);
        if (joined != source)
            std::abort();
    } catch (const ConversionError& e) {
        if (std::strcmp(e.what(), "Invalid string") != 0)
            std::abort();
        valid = false;
    }

    ColourScheme scheme = ColourScheme::classic();
    scheme[TokenKind::Symbol].underline = true;
    std::string rtf;
    try {
        rtf = pascalToRtf(source, scheme, encoding);
    } catch (const ConversionError&) {
        if (valid)
            std::abort();
        return 0;
    }
    if (!valid)
        std::abort();
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const auto c = static_cast<unsigned char>(rtf[i]);
        if (c >= 128)
            std::abort();
        if (c == '\\')
            ++i;
        else if (c == '{')
            ++depth;
        else if (c == '}' && --depth < 0)
            std::abort();
    }
    if (depth != 0)
        std::abort();
    return 0;
}
