#pragma once
// The 80-bit extended-precision numbers of form files (10 bytes, little-endian:
// 64-bit significand with explicit integer bit, then 15-bit biased exponent and
// the sign bit) and their decimal text. The conversions are exact integer
// arithmetic and do not rely on the platform having an 80-bit long double.
#include <cstdint>
#include <string>
#include <string_view>

namespace lingrove::formfile {

// Appends the value in the general form, "." as the separator: fixed notation
// while the number has at most 15 digits before the point and is at least
// 0.0001, otherwise "dE[-]x" ("1.5E-7", "1E20"). It has 15 significant digits
// when they read back to the same 80-bit value, otherwise the fewest that do
// (at most 21). A whole number in fixed notation gets ".0" so that it reads
// back as a floating-point number. Returns false (appending nothing) for
// infinities, NaNs and encodings that are not normalized.
bool extendedToText(const unsigned char bytes[10], std::string& out);

enum class DecimalResult { Ok, Invalid, OutOfRange };

// Parses [-]digits[.digits][(E|e)[+|-]digits] into the nearest extended value
// (ties to even). Values too small for the format become zero, values too
// large for it are OutOfRange.
DecimalResult textToExtended(std::string_view text, unsigned char bytes[10]);

// Exact conversion of a double into the extended format (for callers that
// hold doubles).
void doubleToExtended(double value, unsigned char bytes[10]);

// IEEE binary formats given by their widths (single: 23 and 8, double: 52 and
// 11), as the bits of the stored number.
// Rounds an extended value to the nearest (ties to even); false when it is
// infinite, NaN or too large.
bool extendedToIeee(const unsigned char bytes[10], int mantissaBits, int exponentBits, std::uint64_t& bits);
// Exact widening into the extended format.
void ieeeToExtended(std::uint64_t bits, int mantissaBits, int exponentBits, unsigned char bytes[10]);
// Text -> extended -> the IEEE format, rounding twice as Delphi's reader does.
DecimalResult textToIeee(std::string_view text, int mantissaBits, int exponentBits, std::uint64_t& bits);
// The general form (as extendedToText, without ".0") with the fewest digits
// that read back through textToIeee to the same bits. False for infinities
// and NaNs.
bool ieeeToText(std::uint64_t bits, int mantissaBits, int exponentBits, std::string& out);

} // namespace lingrove::formfile
