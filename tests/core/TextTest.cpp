#include "core/text/Encoding.h"

#include <gtest/gtest.h>

using namespace lingrove::text;

TEST(Windows1252, EveryByteRoundTrips)
{
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(toWindows1252(fromWindows1252(static_cast<unsigned char>(b))), b);
    EXPECT_EQ(fromWindows1252(0x80), U'\u20AC');
    EXPECT_EQ(toWindows1252(U'\u2122'), 0x99);
    EXPECT_EQ(toWindows1252(0x80), -1);   // byte 0x80 is the euro sign
    EXPECT_EQ(toWindows1252(0x81), 0x81); // one of the five undefined bytes
    EXPECT_EQ(toWindows1252(U'\u0416'), -1);
}

TEST(Utf8, WellFormedOnly)
{
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("C:\\\xC3\x9C" "bersetzung \xE2\x82\xAC \xF0\x9F\x98\x80"));
    EXPECT_FALSE(isValidUtf8("C:\\\xDC" "bersetzung"));     // Windows-1252 Ü
    EXPECT_FALSE(isValidUtf8("\xC3"));                      // cut short
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));                  // overlong
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));              // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));              // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));          // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\x80"));
}
