#pragma once
// Characters of form files: Windows-1252 bytes, UTF-8 and UTF-16 units.
#include <cstdint>
#include <string>
#include <string_view>

namespace lingrove::formfile::detail {

// The character of a Windows-1252 byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters
// of the same number, so that every byte survives.
char16_t fromCp1252(unsigned char byte);
// The Windows-1252 byte of a character, or -1 when the code page has none.
int toCp1252(char32_t c);

// The code point of the UTF-8 sequence at p (advanced past it), or -1 for a
// malformed, overlong or surrogate sequence (p then advances by one byte).
long decodeUtf8(const unsigned char*& p, const unsigned char* end);
void appendUtf8(std::string& out, char32_t c);
// True when every byte is part of a well-formed UTF-8 sequence.
bool isUtf8(std::string_view bytes);

// UTF-16 units <-> UTF-8. Lone surrogates have no UTF-8 form: toUtf8 returns
// false for them.
bool unitsToUtf8(std::u16string_view units, std::string& out);
// Well-formed UTF-8 to UTF-16 units; false when it is not well formed.
bool utf8ToUnits(std::string_view bytes, std::u16string& out);
// UTF-16LE bytes (an even count) <-> units.
std::u16string unitsFromLE(std::string_view bytes);
void appendLE(std::string& out, std::u16string_view units);

inline bool isHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool isLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The bytes of "\xEF\xBB\xBF", the UTF-8 byte-order mark.
inline bool hasUtf8Bom(std::string_view s) { return s.size() >= 3 && s.substr(0, 3) == "\xEF\xBB\xBF"; }

} // namespace lingrove::formfile::detail
