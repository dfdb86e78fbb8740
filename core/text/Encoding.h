#pragma once
// Text as bytes: Windows-1252 (the 8-bit Windows character set), UTF-8 and
// UTF-16 units. The one place of these tables and conversions; the Qt side
// (model/TextCodec.h) builds on it.
//
// Windows-1252: the five byte values the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same
// number, as Windows maps them, so every byte survives a round trip.
#include <string>
#include <string_view>

namespace lingrove::text {

// The character of a Windows-1252 byte.
char16_t fromWindows1252(unsigned char byte);
// The byte whose character is c; -1 when the code page has none. (U+0080 is
// not byte 0x80, which is the euro sign.)
int toWindows1252(char32_t c);

// True when data starts with the UTF-8 byte-order mark EF BB BF.
bool hasUtf8ByteOrderMark(std::string_view data);
// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// The code point of the UTF-8 sequence at p (advanced past it), or -1 for a
// malformed, overlong or surrogate sequence (p then advances by one byte).
long decodeUtf8(const unsigned char*& p, const unsigned char* end);
void appendUtf8(std::string& out, char32_t c);

inline bool isHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool isLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// UTF-16 units to UTF-8; false for a lone surrogate, which has no UTF-8 form.
bool unitsToUtf8(std::u16string_view units, std::string& out);
// Well-formed UTF-8 to UTF-16 units; false when it is not well formed.
bool utf8ToUnits(std::string_view bytes, std::u16string& out);
// UTF-16LE bytes (an even count) <-> units.
std::u16string unitsFromLE(std::string_view bytes);
void appendLE(std::string& out, std::u16string_view units);

} // namespace lingrove::text
