#pragma once
// Windows-1252 (the 8-bit Windows character set) and UTF-8. The five
// byte values that code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the control characters of the same number, as Windows maps them, so
// every byte survives a round trip.
#include <string>
#include <string_view>

namespace lingrove::text {

// The Unicode code point of a byte.
char32_t fromWindows1252(unsigned char byte);
// The byte of a code point; -1 when code page 1252 has no such character.
// U+0080..U+009F map back to their own number, so text decoded as Latin-1
// comes back unchanged as well.
int toWindows1252(char32_t codePoint);

// True when data starts with the UTF-8 byte-order mark EF BB BF.
bool hasUtf8ByteOrderMark(std::string_view data);

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

} // namespace lingrove::text
