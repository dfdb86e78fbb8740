#pragma once
// The quoted-literal scanner: pairs the apostrophes of one line in the order
// in which they stand and keeps the texts between them that the string
// filters let through. A doubled apostrophe inside a literal stands for one
// apostrophe, as in Pascal ('It''s' is one literal); otherwise there is no
// lexical analysis: apostrophes in comments count like any other. A last
// apostrophe without a partner yields nothing.
//
// Lines are 8-bit text (Windows-1252); the scanner never looks at bytes other
// than the apostrophe, the blank, the backslash, '.' and '-'.
#include "core/scanner/StringEntry.h"

#include <climits>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lingrove::scanner {

// Which kinds of literal are accepted for translation. True accepts the kind;
// false drops literals of that kind.
struct FilterSwitches {
    bool Empty = false;      // empty or only blanks (code 32)
    bool Fonts = false;      // the name of an installed font
    bool Numbers = false;    // a floating-point number in the current locale
    bool DateTime = false;   // a date (optionally with a time) in the current locale
    bool Dirs = false;       // contains a backslash
    bool Extentions = false; // starts with '.'
    bool Separator = false;  // exactly "-"
};

// The tests that depend on the installed fonts and on the locale. An unset
// test never matches.
struct KindTests {
    std::function<bool(std::string_view)> isFontName;
    std::function<bool(std::string_view)> isDateTime;
    std::function<bool(std::string_view)> isNumber;
};

struct ScanFilters {
    FilterSwitches accept;
    KindTests kinds;
};

// True when text passes the filters, tested in this order: Empty, Fonts,
// DateTime, Numbers, Dirs, Extentions, Separator; a filter tests only while
// its kind is not accepted.
bool acceptsLiteral(std::string_view text, const ScanFilters& filters);

// Calls visit(posA, posB, text) for each paired literal of line, left to
// right, before filtering. posA/posB are 1-based columns of the first and the
// last character of the content (posB = posA - 1 for an empty literal).
template <typename Visit>
void forEachLiteral(std::string_view line, Visit&& visit)
{
    std::size_t from = 0;
    for (;;) {
        const std::size_t open = line.find('\'', from);
        if (open == std::string_view::npos)
            return;
        std::size_t close = line.find('\'', open + 1);
        // Two apostrophes in a row inside the literal are one apostrophe of its text.
        while (close != std::string_view::npos && close + 1 < line.size() && line[close + 1] == '\'')
            close = line.find('\'', close + 2);
        // Columns are int: a line too long for them ends the scan.
        if (close == std::string_view::npos || close > static_cast<std::size_t>(INT_MAX - 2))
            return;
        visit(static_cast<int>(open + 2), static_cast<int>(close), line.substr(open + 1, close - open - 1));
        from = close + 1;
    }
}

// Calls visit(posA, posB, text) for each literal of line that passes the
// filters, left to right.
template <typename Visit>
void forEachAcceptedLiteral(std::string_view line, const ScanFilters& filters, Visit&& visit)
{
    forEachLiteral(line, [&](int posA, int posB, std::string_view text) {
        if (acceptsLiteral(text, filters))
            visit(posA, posB, text);
    });
}

// Appends the entry line of each accepted literal of line (lineNumber and the
// literal's columns, see StringEntry.h) to target.
void appendEntries(std::string_view line, int lineNumber, const ScanFilters& filters,
                   std::vector<std::string>& target);

// Calls visit(lineNumber, line) for each line of text, numbered from 1: CR
// LF, a lone LF and a lone CR each end a line, as in the editor pages.
template <typename Visit>
void forEachLine(std::string_view text, Visit&& visit)
{
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        std::size_t next;
        if (end == std::string_view::npos)
            end = next = text.size();
        else if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            next = end + 2;
        else
            next = end + 1;
        visit(++lineNumber, text.substr(start, end - start));
        start = next;
    }
}

// Scans every line of text (CR LF, a lone LF and a lone CR each end a line,
// as in the editor pages) and returns the entry lines, without the end line.
std::vector<std::string> scanText(std::string_view text, const ScanFilters& filters);

} // namespace lingrove::scanner
