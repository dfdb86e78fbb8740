#pragma once
// One found literal as a line of the entry list, and the fixed texts of that
// list. Every part of the program that writes or reads entry lines goes
// through formatEntry / parseEntry.
//
// Layout of an entry line:
//   the line number right-aligned in 5 characters, two spaces,
//   the start column right-aligned in 3 characters, two spaces,
//   the end column right-aligned in 3 characters, two spaces,
//   the text, which therefore starts in column 18.
// A number wider than its field is written in full, still followed by two
// spaces, so the text moves to the right ("123456  1000  1004  Hello").
// parseEntry does not read fixed columns: it reads the three numbers as
// blank-separated tokens and takes the text from exactly two characters after
// the last digit of the third number. Both layouts therefore read back the
// same numbers and the same text, whatever the text holds (leading blanks,
// digits, apostrophes).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lingrove::scanner {

struct StringEntry {
    int line = 0;    // 1-based editor line
    int posA = 0;    // 1-based column of the first character after the opening apostrophe
    int posB = 0;    // 1-based column of the last character before the closing apostrophe
    std::string text; // the characters between the apostrophes, not unescaped

    bool operator==(const StringEntry&) const = default;
};

// The last line of every entry list.
inline constexpr std::string_view EndLine = "[++++ End of the list ++++]";
// Marks of the Changed column, spaces included.
inline constexpr std::string_view MarkYes = " Yes ";
inline constexpr std::string_view MarkNo = " No ";
inline constexpr std::string_view MarkEnd = "****";
// Headings above the entry list and above the Changed column.
inline constexpr std::string_view EntryHeading = "  COL POSA POSB String";
inline constexpr std::string_view ChangedHeading = " Changed";
// Column at which the text starts while the numbers fit their fields.
inline constexpr int TextColumn = 18;

// The entry line of e.
std::string formatEntry(const StringEntry& e);
// Appends the entry line to out (no allocation beyond out's growth).
void appendEntry(std::string& out, int line, int posA, int posB, std::string_view text);
// The fields of an entry line; nullopt for anything else (the end line, an
// empty line, a damaged line).
std::optional<StringEntry> parseEntry(std::string_view line);
// The entry line with its text replaced by text, numbers kept; nullopt when
// line is no entry line. Used when a translation is committed.
std::optional<std::string> replaceEntryText(std::string_view line, std::string_view text);

// The Changed column for a list of n entries: one mark per entry and MarkEnd
// for the end line. With a resume position p, entries 0..p (0-based index)
// are marked MarkYes, the others MarkNo; without one, all MarkNo.
std::vector<std::string> changedMarks(std::size_t n, std::optional<long long> resumePosition);

} // namespace lingrove::scanner
