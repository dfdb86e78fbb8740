// Arbitrary bytes as a binary form file (with and without resource header).
// Whatever converts must convert back, and after one round the result is stable.
#include "core/formfile/FormFile.h"

#include <cstdlib>
#include <cstdint>
#include <string>

using namespace lingrove::formfile;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// text1 came from binary input; when it reads back, the round trip settles.
void settle(const std::string& text1)
{
    std::string binary2;
    try {
        TextToBinary(text1, binary2);
    } catch (const FormError&) {
        return; // names that are no identifiers, for example
    }
    std::string text2;
    BinaryToText(binary2, text2); // our own output must always convert back
    std::string binary3;
    TextToBinary(text2, binary3);
    check(binary3 == binary2);
    std::string text3;
    BinaryToText(binary3, text3);
    check(text3 == text2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string text;
    try {
        ResourceToText(input, text);
        settle(text);
    } catch (const FormError&) {
    }
    text.clear();
    try {
        BinaryToText(input, text);
        settle(text);
    } catch (const FormError&) {
    }
    return 0;
}
