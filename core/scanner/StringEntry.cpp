#include "core/scanner/StringEntry.h"

#include <charconv>
#include <limits>

namespace lingrove::scanner {

namespace {

// Appends v right-aligned in width characters (wider numbers in full) and two spaces.
void appendField(std::string& out, int v, int width)
{
    char digits[16];
    const auto r = std::to_chars(digits, digits + sizeof digits, v);
    const int len = static_cast<int>(r.ptr - digits);
    if (len < width)
        out.append(static_cast<std::size_t>(width - len), ' ');
    out.append(digits, r.ptr);
    out.append(2, ' ');
}

// Reads blanks, an optional '-' and at least one digit from line at i into v.
bool readNumber(std::string_view line, std::size_t& i, int& v)
{
    while (i < line.size() && line[i] == ' ')
        ++i;
    const std::size_t start = i;
    if (i < line.size() && line[i] == '-')
        ++i;
    const std::size_t digitsStart = i;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9')
        ++i;
    if (i == digitsStart)
        return false;
    const auto r = std::from_chars(line.data() + start, line.data() + i, v);
    return r.ec == std::errc() && r.ptr == line.data() + i;
}

bool readTwoBlanks(std::string_view line, std::size_t& i)
{
    if (line.size() - i < 2 || line[i] != ' ' || line[i + 1] != ' ')
        return false;
    i += 2;
    return true;
}

} // namespace

void appendEntry(std::string& out, int line, int posA, int posB, std::string_view text)
{
    appendField(out, line, 5);
    appendField(out, posA, 3);
    appendField(out, posB, 3);
    out.append(text);
}

std::string formatEntry(const StringEntry& e)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(TextColumn - 1) + e.text.size());
    appendEntry(out, e.line, e.posA, e.posB, e.text);
    return out;
}

std::optional<StringEntry> parseEntry(std::string_view line)
{
    StringEntry e;
    std::size_t i = 0;
    if (!readNumber(line, i, e.line) || !readTwoBlanks(line, i))
        return std::nullopt;
    if (!readNumber(line, i, e.posA) || !readTwoBlanks(line, i))
        return std::nullopt;
    if (!readNumber(line, i, e.posB) || !readTwoBlanks(line, i))
        return std::nullopt;
    e.text.assign(line.substr(i));
    return e;
}

std::optional<std::string> replaceEntryText(std::string_view line, std::string_view text)
{
    auto e = parseEntry(line);
    if (!e)
        return std::nullopt;
    std::string out;
    appendEntry(out, e->line, e->posA, e->posB, text);
    return out;
}

std::vector<std::string> changedMarks(std::size_t n, std::optional<long long> resumePosition)
{
    std::vector<std::string> marks;
    marks.reserve(n + 1);
    for (std::size_t j = 0; j < n; ++j) {
        const bool done = resumePosition && *resumePosition >= 0
            && static_cast<unsigned long long>(*resumePosition) >= j;
        marks.emplace_back(done ? MarkYes : MarkNo);
    }
    marks.emplace_back(MarkEnd);
    return marks;
}

} // namespace lingrove::scanner
