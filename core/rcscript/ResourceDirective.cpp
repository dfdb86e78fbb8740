#include "core/rcscript/ResourceDirective.h"

namespace lingrove::rcscript {

std::string directiveLine(const std::string& resFileName) { return "{$R " + resFileName + "}"; }

static char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; }

int findBeginLine(const std::vector<std::string>& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string squeezed;
        for (char c : lines[i])
            if (c != ' ')
                squeezed += upper(c);
        if (squeezed == "BEGIN")
            return static_cast<int>(i);
    }
    return -1;
}

static bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isResourceDirective(const std::string& line)
{
    std::size_t b = 0, e = line.size();
    while (b < e && isBlank(line[b]))
        ++b;
    while (e > b && (isBlank(line[e - 1]) || line[e - 1] == '\r'))
        --e;
    const std::string s = line.substr(b, e - b);
    if (s.size() < 5 || s[0] != '{' || s[1] != '$' || s.back() != '}')
        return false;
    std::string name;   // the directive's name: letters after "{$"
    std::size_t i = 2;
    while (i < s.size() && ((s[i] >= 'A' && s[i] <= 'Z') || (s[i] >= 'a' && s[i] <= 'z')))
        name += upper(s[i++]);
    if (name != "R" && name != "RESOURCE")
        return false;
    if (i >= s.size() - 1 || !isBlank(s[i]))
        return false;   // "{$R+}" / "{$R-}" are range checks, "{$R}" names nothing
    for (std::size_t k = i; k + 1 < s.size(); ++k)
        if (!isBlank(s[k]))
            return true;
    return false;
}

InsertResult insertDirective(std::vector<std::string>& lines, const std::string& resFileName)
{
    if (lines.empty())
        return {InsertOutcome::NoLines, -1};
    const int at = findBeginLine(lines);
    if (at < 0)
        return {InsertOutcome::NoBeginLine, -1};
    lines.insert(lines.begin() + at, directiveLine(resFileName));
    return {InsertOutcome::Inserted, at};
}

RemoveOutcome removeDirective(std::vector<std::string>& lines, int position)
{
    if (position == -1)
        return RemoveOutcome::NoneRecorded;
    if (position < 0 || static_cast<std::size_t>(position) >= lines.size()
        || !isResourceDirective(lines[static_cast<std::size_t>(position)]))
        return RemoveOutcome::Stale;
    lines.erase(lines.begin() + position);
    return RemoveOutcome::Removed;
}

} // namespace lingrove::rcscript
