#include "core/scanner/Scanner.h"

#include <gtest/gtest.h>

using namespace lingrove::scanner;

namespace {

ScanFilters acceptAll()
{
    ScanFilters f;
    f.accept = {true, true, true, true, true, true, true};
    return f;
}

std::vector<std::string> bare(std::string_view line, const ScanFilters& f = ScanFilters{})
{
    std::vector<std::string> out;
    forEachAcceptedLiteral(line, f, [&](int, int, std::string_view text) { out.emplace_back(text); });
    return out;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(Scanner, PairsApostrophesInOrder)
{
    const std::pair<const char*, Strings> cases[] = {
        {"x := 1;", {}},
        {"x := 'open", {}},
        // A doubled apostrophe is part of the literal, as Pascal reads it.
        {"  Caption = 'It''s'", {"It''s"}},
        {"  Caption = 'Gr'#246#223'e'", {"Gr", "e"}},
        // An apostrophe in a comment shifts the pairing of the rest of the line.
        {"x := 'a'; { don't } y := 'b';", {"a", "t } y := "}},
        // Bytes above 127 are ordinary characters.
        {"s := 'Gr\xf6\xdf" "e';", {"Gr\xf6\xdf" "e"}},
    };
    for (const auto& [line, strings] : cases)
        EXPECT_EQ(bare(line), strings) << line;
    EXPECT_EQ(bare("s := 'Don''t' + '''quoted''' + '';", acceptAll()), (Strings{"Don''t", "''quoted''", ""}));
    // An unpaired last apostrophe yields nothing, even with empty ones accepted.
    EXPECT_EQ(bare("s := 'a' + 'b", acceptAll()), Strings{"a"});
    EXPECT_EQ(bare("'", acceptAll()), Strings{});
    EXPECT_EQ(bare("'''", acceptAll()), Strings{});
    EXPECT_EQ(bare("'a''", acceptAll()), Strings{});
}

TEST(Scanner, AnyNumberOfApostrophes)
{
    std::string line;
    for (int i = 0; i < 1000; ++i)
        line += "'x'+";
    std::vector<std::string> out;
    appendEntries(line, 3, ScanFilters{}, out);
    ASSERT_EQ(out.size(), 1000u);
    auto last = parseEntry(out.back());
    ASSERT_TRUE(last);
    EXPECT_EQ(last->posA, 999 * 4 + 2);
    EXPECT_EQ(last->text, "x");
    // The 501st apostrophe onwards still pairs in order.
    EXPECT_EQ(parseEntry(out[250])->posA, 250 * 4 + 2);
}

TEST(Scanner, FormattedEntries)
{
    std::vector<std::string> out;
    appendEntries("  Caption = 'Save file'", 12, ScanFilters{}, out);
    EXPECT_EQ(out, Strings{"   12   14   22  Save file"});

    out.clear();
    std::string line(98, ' ');
    line += "'abc'";
    appendEntries(line, 7, ScanFilters{}, out);
    EXPECT_EQ(out, Strings{"    7  100  102  abc"});

    out.clear();
    appendEntries("x := '';", 4, acceptAll(), out);
    EXPECT_EQ(out, Strings{"    4    7    6  "});
}

TEST(Filters, EachSwitchDropsItsKindOnlyWhileOff)
{
    struct Case {
        const char* literal;
        bool FilterSwitches::*kind;
    };
    const Case cases[] = {
        {"", &FilterSwitches::Empty},        {"   ", &FilterSwitches::Empty},
        {"c:\\temp", &FilterSwitches::Dirs}, {".exe", &FilterSwitches::Extentions},
        {"-", &FilterSwitches::Separator},   {"Arial", &FilterSwitches::Fonts},
        {"1.5", &FilterSwitches::DateTime},  {"12340", &FilterSwitches::Numbers},
    };
    ScanFilters f;
    f.kinds.isFontName = [](std::string_view t) { return t == "Arial"; };
    f.kinds.isDateTime = [](std::string_view t) { return t == "1.5"; };
    f.kinds.isNumber = [](std::string_view t) { return t == "12340"; };
    for (const Case& c : cases) {
        ScanFilters on = f;
        on.accept.*c.kind = true;
        EXPECT_FALSE(acceptsLiteral(c.literal, f)) << c.literal;
        EXPECT_TRUE(acceptsLiteral(c.literal, on)) << c.literal;
    }
    for (const char* keep : {"--", "a.exe", " x ", "\t", "Save"})
        EXPECT_TRUE(acceptsLiteral(keep, f)) << keep;
}

TEST(Filters, TestedInOrderAndOnlyWhileNeeded)
{
    std::string calls;
    ScanFilters f;
    f.kinds.isFontName = [&](std::string_view) { calls += 'F'; return false; };
    f.kinds.isDateTime = [&](std::string_view) { calls += 'D'; return true; };
    f.kinds.isNumber = [&](std::string_view) { calls += 'N'; return true; };
    EXPECT_FALSE(acceptsLiteral("1.5", f));
    EXPECT_EQ(calls, "FD");
    calls.clear();
    EXPECT_FALSE(acceptsLiteral("", f)); // dropped as empty before any callback
    EXPECT_EQ(calls, "");
    f.accept.Fonts = f.accept.DateTime = true;
    EXPECT_FALSE(acceptsLiteral("1.5", f));
    EXPECT_EQ(calls, "N");
}

TEST(ScanText, NumbersLinesLikeTheEditor)
{
    // CR LF, LF and a lone CR each end a line; a literal never spans a break.
    const auto entries = scanText("a := 'x';\r\n\nb := 'y'\r'c\r\nd' + 'last'", ScanFilters{});
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(*parseEntry(entries[0]), (StringEntry{1, 7, 7, "x"}));
    EXPECT_EQ(*parseEntry(entries[1]), (StringEntry{3, 7, 7, "y"}));
    EXPECT_EQ(*parseEntry(entries[2]), (StringEntry{5, 3, 5, " + "}));
}
