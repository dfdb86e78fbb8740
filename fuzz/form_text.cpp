// Arbitrary bytes as the text form. Whatever converts must come back through
// binary -> text -> binary to the same bytes (after the first round, which may
// round floating-point numbers to 15 digits).
#include "core/formfile/FormFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace lingrove::formfile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string binary1;
    try {
        TextToBinary(input, binary1);
    } catch (const FormError&) {
        return 0;
    }
    // From here on nothing may fail: it is all our own output.
    std::string text1, binary2, text2, binary3;
    BinaryToText(binary1, text1);
    TextToBinary(text1, binary2);
    BinaryToText(binary2, text2);
    TextToBinary(text2, binary3);
    if (binary3 != binary2)
        std::abort();

    std::string resource, text3;
    try {
        TextToResource(text2, resource);
    } catch (const FormError&) {
        return 0; // a root class name starting with byte 255 cannot name a resource
    }
    ResourceToText(resource, text3);
    if (text3 != text2)
        std::abort();
    return 0;
}
