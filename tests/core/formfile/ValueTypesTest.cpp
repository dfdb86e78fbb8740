// The value types of later Delphi versions and the component flags, each
// binary -> text -> binary with the exact text and bytes.
#include "FormTestUtil.h"

#include <cstring>

using namespace formtest;

namespace {

std::string single(float f)
{
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return byte(15) + u32(bits);
}

std::string dbl(int type, double d)
{
    std::uint64_t bits;
    std::memcpy(&bits, &d, 8);
    return byte(type) + u64(bits);
}

} // namespace

TEST(ValueType, SingleWithSuffixS)
{
    expectProperty(single(1.5f), "1.5s");
    expectProperty(single(0.1f), "0.1s");
    expectProperty(single(-3.25e-20f), "-3.25E-20s");
    expectProperty(single(-0.0f), "-0s");
    expectProperty(single(16777216.0f), "16777216s");
    expectProperty(single(1.4e-45f), "1E-45s"); // the smallest subnormal
    expectProperty(single(3.4028235e38f), "3.4028235E38s");
}

TEST(ValueType, CurrencyAsTheStoredIntegerWithSuffixC)
{
    expectProperty(byte(16) + u64(123400), "123400c"); // 12.34
    expectProperty(byte(16) + u64(static_cast<std::uint64_t>(-5)), "-5c");
    expectProperty(byte(16) + u64(0x8000000000000000u), "-9223372036854775808c");
    EXPECT_EQ(toBinary(formText("  P = 12.5c\r\n")), form(prop("P", byte(16) + u64(12)))); // ties to even
}

TEST(ValueType, DateAndDouble)
{
    expectProperty(dbl(17, 36526.5), "36526.5d");
    expectProperty(dbl(17, 0.1), "0.1d");
    expectProperty(dbl(21, 1.5), "Double(1.5)");
    expectProperty(dbl(21, 1e300), "Double(1E300)");
    expectProperty(dbl(21, 5e-324), "Double(5E-324)");
}

TEST(ValueType, Int64AndIntegersStoredWider)
{
    expectProperty(byte(19) + u64(0x100000000u), "4294967296");
    expectProperty(byte(19) + u64(0x8000000000000000u), "-9223372036854775808");
    expectProperty(byte(19) + u64(5), "Int64(5)");
    expectProperty(byte(4) + u32(static_cast<std::uint32_t>(-3)), "Int32(-3)");
    expectProperty(byte(3) + byte(100) + byte(0), "Int16(100)");
    EXPECT_EQ(toBinary(formText("  P = 2147483648\r\n")), form(prop("P", byte(19) + u64(0x80000000u))));
    EXPECT_EQ(toBinary(formText("  P = $123456789\r\n")), form(prop("P", byte(19) + u64(0x123456789u))));
}

TEST(ValueType, WideAndLongStrings)
{
    // Delphi stores a wide string as UTF-8 when that is shorter, else UTF-16;
    // the text says which only where that rule would give the other.
    expectProperty(utf8("Gr\xC3\xB6\xC3\x9F" "e"), "'Gr'#246#223'e'");
    expectProperty(utf16(u"\u041F\u0440"), "#1055#1088");
    expectProperty(utf16(u"Gr\u00F6\u00DFe"), "WString('Gr'#246#223'e')");
    expectProperty(utf8("\xD0\x9F\xD1\x80"), "UTF8String(#1055#1088)");
    expectProperty(utf16(u"abc"), "WString('abc')");
    expectProperty(utf8("It's"), "UTF8String('It'#39's')");
    expectProperty(utf8(""), "UTF8String('')");
    expectProperty(utf16(u"\U0001F600"), "#55357#56832");   // a pair stays two units
    expectProperty(utf16(u"a\xD800"), "'a'#55296"); // a lone surrogate survives
    expectProperty(byte(12) + u32(3) + "abc", "LString('abc')");
    // UTF-8 bytes that are not UTF-8 have no text.
    EXPECT_EQ(binaryError(form(prop("P", utf8("\xC3(")))).kind(), Kind::NotFinite);
}

TEST(ValueType, ExtendedBeyondFifteenDigitsComesBackExactly)
{
    // 1/3 to the full 64 bits: 15 digits would read back as another number.
    const std::string third = byte(5) + std::string("\xAB\xAA\xAA\xAA\xAA\xAA\xAA\xAA\xFD\x3F", 10);
    expectProperty(third, "0.33333333333333333334");
    // Not normalized: refused with its offset instead of changing bytes.
    const std::string unnormal = byte(5) + std::string(7, '\0') + byte(0x40) + byte(0xFF) + byte(0x3F);
    const std::string bad = form(prop("P", unnormal));
    EXPECT_EQ(binaryError(bad).offset(), static_cast<long long>(bad.size() - 13));
}
