// Extended numbers: 10 bytes -> text -> the same bytes, and decimal text ->
// bytes, each checked against the C library's 80-bit long double where there is one.
#include "core/formfile/Extended.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace lingrove::formfile;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

#if LDBL_MANT_DIG == 64
bool sameValue(const unsigned char a[10], const unsigned char b[10])
{
    long double x = 0, y = 0;
    std::memcpy(&x, a, 10);
    std::memcpy(&y, b, 10);
    return x == y && std::signbit(x) == std::signbit(y);
}
#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 10) {
        std::string text;
        if (!extendedToText(data, text))
            return 0;
        unsigned char back[10];
        check(textToExtended(text, back) == DecimalResult::Ok);
        std::string again;
        check(extendedToText(back, again));
        check(again == text);
#if LDBL_MANT_DIG == 64
        long double native;
        std::memcpy(&native, data, 10);
        // The text reads back natively to the same number.
        check(std::strtold(text.c_str(), nullptr) == native);
#endif
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 30000));
    unsigned char bytes[10];
    if (textToExtended(text, bytes) != DecimalResult::Ok)
        return 0;
#if LDBL_MANT_DIG == 64
    long double native = std::strtold(text.c_str(), nullptr);
    unsigned char nativeBytes[10];
    std::memcpy(nativeBytes, &native, 10);
    check(sameValue(bytes, nativeBytes));
#endif
    return 0;
}
