#include "core/pascal/Highlight.h"

#include <gtest/gtest.h>

using namespace lingrove::pascal;

TEST(Highlight, ValueFieldsColourAndStyle)
{
    // 0x00BBGGRR: 255 is red.
    EXPECT_EQ(parseHighlightValue("255,0,B,0,0,0,0"), (TokenStyle{Rgb{255, 0, 0}, true, false, false}));
    EXPECT_EQ(parseHighlightValue("8388608,15,IU,0,0,0,0"),
              (TokenStyle{Rgb{0, 0, 128}, false, true, true}));
    EXPECT_EQ(parseHighlightValue("$00008000,1,xBIUx"), (TokenStyle{Rgb{0, 128, 0}, true, true, true}));
    // Lower-case letters are no style; the style is field 3 only.
    EXPECT_EQ(parseHighlightValue("0,BIU,biu"), TokenStyle{});
    // Not a number, empty, too few fields: black.
    EXPECT_EQ(parseHighlightValue("blue,0,B"), (TokenStyle{Rgb{}, true, false, false}));
    EXPECT_EQ(parseHighlightValue(""), TokenStyle{});
    EXPECT_EQ(parseHighlightValue("0,0,,0,0,0,0"), TokenStyle{});
    EXPECT_EQ(parseHighlightValue(" 65280 "), (TokenStyle{Rgb{0, 255, 0}, false, false, false}));
    EXPECT_EQ(parseHighlightValue("99999999999"), TokenStyle{});
}

TEST(Highlight, NegativeValuesAreSystemColours)
{
    // clWindowText = -16777208: index 8.
    int asked = -1;
    const auto lookup = [&](int i) { asked = i; return Rgb{1, 2, 3}; };
    EXPECT_EQ(parseHighlightValue("-16777208,0,", lookup).colour, (Rgb{1, 2, 3}));
    EXPECT_EQ(asked, 8);
    EXPECT_EQ(windowsColour(-16777203), (Rgb{0, 0, 128}));          // highlight, classic navy
    EXPECT_EQ(windowsColour(static_cast<std::int32_t>(0xFF000005)), (Rgb{255, 255, 255}));
    EXPECT_EQ(classicSystemColour(200), Rgb{});
}

TEST(Highlight, SchemeNumbers)
{
    EXPECT_NO_THROW(checkHighlightVersion(2));
    EXPECT_NO_THROW(checkHighlightVersion(3));
    for (int v : {0, 1, 4, -2})
        EXPECT_THROW(checkHighlightVersion(v), HighlightVersionError) << v;
    EXPECT_STREQ(HighlightVersionError().what(), "Only syntax highlighting from Delphi 2 and 3 are supported");
}
