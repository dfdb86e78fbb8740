#include "core/scanner/StringEntry.h"

#include <gtest/gtest.h>

using namespace lingrove::scanner;

TEST(StringEntry, FixedColumnsWhileNumbersFitAndWideNumbersRoundTrip)
{
    EXPECT_EQ(formatEntry({12, 15, 19, "Hello"}), "   12   15   19  Hello");
    EXPECT_EQ(formatEntry({99999, 999, 999, "x"}).find('x'), 17u);
    EXPECT_EQ(formatEntry({123456, 1000, 1004, "Hello"}), "123456  1000  1004  Hello");
    const StringEntry cases[] = {
        {12345, 100, 102, "five digits"},
        {123456, 14, 22, "six digits"},
        {7, 1000, 1004, "four-digit position"},
        {1234567, 12345, 99999, "  12  34  leading blanks and digits  "},
        {2147483647, 2147483646, 2147483645, "'quoted'"},
        {3, 5, 4, ""},
    };
    for (const StringEntry& e : cases)
        EXPECT_EQ(parseEntry(formatEntry(e)), e) << formatEntry(e);
}

TEST(StringEntry, RejectsOtherLines)
{
    for (const char* line : {"", "[++++ End of the list ++++]", "   12   15   19", "   12   15   19 x",
                             "   12 15   19  x", "   12   x   19  x", "99999999999  1  1  x", "  -  1  1  x"})
        EXPECT_FALSE(parseEntry(line)) << line;
}

TEST(StringEntry, ReplaceTextKeepsNumbers)
{
    EXPECT_EQ(replaceEntryText("   12   15   19  Hello", "Hallo"), "   12   15   19  Hallo");
    EXPECT_EQ(replaceEntryText("123456  1000  1004  Hello", "Guten Tag"), "123456  1000  1004  Guten Tag");
    EXPECT_FALSE(replaceEntryText(EndLine, "x"));
}

TEST(StringEntry, ChangedMarks)
{
    EXPECT_EQ(changedMarks(5, 2), (std::vector<std::string>{" Yes ", " Yes ", " Yes ", " No ", " No ", "****"}));
    EXPECT_EQ(changedMarks(2, std::nullopt), (std::vector<std::string>{" No ", " No ", "****"}));
    EXPECT_EQ(changedMarks(2, -1), (std::vector<std::string>{" No ", " No ", "****"}));
    EXPECT_EQ(changedMarks(0, 3), (std::vector<std::string>{"****"}));
}
