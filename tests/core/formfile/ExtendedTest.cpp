// 80-bit extended numbers <-> decimal text, without relying on long double.
#include "core/formfile/Extended.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

using namespace lingrove::formfile;

namespace {

struct Ext {
    unsigned char b[10];
};

Ext parse(const std::string& text)
{
    Ext e{};
    EXPECT_EQ(textToExtended(text, e.b), DecimalResult::Ok) << text;
    return e;
}

std::string format(const Ext& e)
{
    std::string out;
    EXPECT_TRUE(extendedToText(e.b, out));
    return out;
}

Ext make(bool negative, unsigned exponent, std::uint64_t significand)
{
    Ext e{};
    for (int i = 0; i < 8; ++i)
        e.b[i] = static_cast<unsigned char>(significand >> (8 * i));
    const unsigned se = (negative ? 0x8000u : 0u) | exponent;
    e.b[8] = static_cast<unsigned char>(se);
    e.b[9] = static_cast<unsigned char>(se >> 8);
    return e;
}

std::string hex(const Ext& e)
{
    char buf[32];
    for (int i = 0; i < 10; ++i)
        std::snprintf(buf + 2 * i, 3, "%02X", e.b[9 - i]);
    return buf;
}

} // namespace

TEST(Extended, FifteenDigitsOrTheFewestThatReadBack)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1.5", "1.5"},
        {"0.1", "0.1"},
        {"-2.25", "-2.25"},
        {"100", "100.0"},
        {"0", "0.0"},
        {"-0", "-0.0"},
        {"123456789012345", "123456789012345.0"},
        {"0.333333333333333", "0.333333333333333"}, // the usual text stays as it was
        {"1E20", "1E20"},
        {"0.0001", "0.0001"},
        {"0.00001", "1E-5"},
        {"0.000015", "1.5E-5"},
        {"1.5E-7", "1.5E-7"},
        // More than 15 digits where 15 would read back as another number.
        {"0.333333333333333333", "0.333333333333333333"},
        {"1234567890123456", "1.234567890123456E15"},
        {"999999999999999.9", "999999999999999.9"},
        {"3.14159265358979323846", "3.1415926535897932385"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(format(parse(in)), out) << in;
}

TEST(Extended, KnownBitPatterns)
{
    EXPECT_EQ(hex(parse("1")), "3FFF8000000000000000");
    EXPECT_EQ(hex(parse("-2")), "C0008000000000000000");
    // 0.1 rounded to 64 bits (not a double widened).
    EXPECT_EQ(hex(parse("0.1")), "3FFBCCCCCCCCCCCCCCCD");
    EXPECT_EQ(hex(parse("1E4932")), "7FFED72CB2A95C7EF6CD"); // near the top of the range
    EXPECT_EQ(hex(parse("1.18973149535723176502E4932")), "7FFEFFFFFFFFFFFFFFFF");
    EXPECT_EQ(hex(parse("3.6E-4951")), "00000000000000000001"); // smallest subnormal
    EXPECT_EQ(hex(parse("1E-5000")), "00000000000000000000");   // below the range: zero
    EXPECT_EQ(hex(parse("1.8E-4951")), "00000000000000000000"); // below half of the smallest: zero
    EXPECT_EQ(hex(parse("1.9E-4951")), "00000000000000000001");
    unsigned char b[10];
    EXPECT_EQ(textToExtended("1.2E4932", b), DecimalResult::OutOfRange);
    EXPECT_EQ(textToExtended("1E99999999999", b), DecimalResult::OutOfRange);
    for (const char* bad : {"", "-", ".", "1e", "1e+", "1.2.3", "1..2", "10-5", "+1", "1x", "e5"})
        EXPECT_EQ(textToExtended(bad, b), DecimalResult::Invalid) << bad;

    // Infinity, NaN and encodings no decimal text reads back to (the integer
    // bit clear above the smallest exponent, or set at it) have no text.
    std::string out;
    EXPECT_FALSE(extendedToText(make(false, 0x7FFF, std::uint64_t{1} << 63).b, out));
    EXPECT_FALSE(extendedToText(make(true, 0x7FFF, 0xC000000000000000u).b, out));
    EXPECT_FALSE(extendedToText(make(false, 0x3FFF, std::uint64_t{1} << 62).b, out));
    EXPECT_FALSE(extendedToText(make(false, 0, std::uint64_t{1} << 63).b, out));
    EXPECT_FALSE(extendedToText(make(false, 5, 0).b, out));
    EXPECT_TRUE(out.empty());
}

TEST(Extended, DoublesWidenExactly)
{
    for (double d : {1.5, 0.1, -3.0e-300, 4.9e-324, 1.7976931348623157e308, 0.0}) {
        Ext e{};
        doubleToExtended(d, e.b);
        // The exact decimal expansion of the double.
        char text[1200];
        std::snprintf(text, sizeof text, "%.1100e", d);
        EXPECT_EQ(hex(e), hex(parse(text))) << text;
    }
}

TEST(Extended, LongTextsRoundOnce)
{
    // Exactly halfway between two extended numbers, then a hair above it far to the right.
    const std::string half = "1.000000000000000000054210108624275221700372640043497085571289062500";
    EXPECT_EQ(hex(parse(half)), "3FFF8000000000000000");
    EXPECT_EQ(hex(parse(half + std::string(30000, '0') + "1")), "3FFF8000000000000001");
}

// Random numbers, subnormal ones too: the text reads back to the same number
// with never more digits than the format needs. Where the platform has the
// 80-bit type, both directions agree with the C library.
TEST(Extended, RandomNumbersBothWays)
{
    std::mt19937_64 random(42);
    for (int i = 0; i < 4000; ++i) {
        const std::uint64_t m = random() | (std::uint64_t{1} << 63);
        unsigned exponent = static_cast<unsigned>(random() % 0x7FFF);
        if (i % 8)
            exponent = 0x3FFF - 80 + static_cast<unsigned>(random() % 160);
        Ext e = make(random() & 1, exponent, exponent == 0 ? m >> (1 + random() % 63) : m);
        const std::string mine = format(e);
        ASSERT_EQ(hex(parse(mine)), hex(e)) << mine;
        std::string digits;
        for (char c : mine.substr(0, mine.find('E')))
            if (c >= '0' && c <= '9' && !(digits.empty() && c == '0'))
                digits += c;
        EXPECT_LE(digits.size(), 21u) << mine;
#if LDBL_MANT_DIG == 64
        long double native;
        std::memcpy(&native, e.b, 10);
        ASSERT_EQ(std::strtold(mine.c_str(), nullptr), native) << mine;
        // Parsing: the rounding equals strtold's for random decimal texts.
        char buf[80];
        std::snprintf(buf, sizeof buf, "%.*Le", static_cast<int>(random() % 25), native);
        const long double expected = std::strtold(buf, nullptr);
        Ext want{};
        std::memcpy(want.b, &expected, 10);
        ASSERT_EQ(hex(parse(buf)), hex(want)) << buf;
#endif
    }
}
