#include "core/scanner/Scanner.h"

namespace lingrove::scanner {

namespace {

bool onlyBlanks(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

bool test(const std::function<bool(std::string_view)>& kind, std::string_view text)
{
    return kind && kind(text);
}

} // namespace

bool acceptsLiteral(std::string_view text, const ScanFilters& filters)
{
    const FilterSwitches& a = filters.accept;
    if (!a.Empty && onlyBlanks(text))
        return false;
    if (!a.Fonts && test(filters.kinds.isFontName, text))
        return false;
    if (!a.DateTime && test(filters.kinds.isDateTime, text))
        return false;
    if (!a.Numbers && test(filters.kinds.isNumber, text))
        return false;
    if (!a.Dirs && text.find('\\') != std::string_view::npos)
        return false;
    if (!a.Extentions && !text.empty() && text.front() == '.')
        return false;
    if (!a.Separator && text == "-")
        return false;
    return true;
}

void appendEntries(std::string_view line, int lineNumber, const ScanFilters& filters,
                   std::vector<std::string>& target)
{
    forEachAcceptedLiteral(line, filters, [&](int posA, int posB, std::string_view text) {
        std::string entry;
        entry.reserve(static_cast<std::size_t>(TextColumn - 1) + text.size());
        appendEntry(entry, lineNumber, posA, posB, text);
        target.push_back(std::move(entry));
    });
}

std::vector<std::string> scanText(std::string_view text, const ScanFilters& filters)
{
    std::vector<std::string> entries;
    forEachLine(text, [&](int lineNumber, std::string_view line) { appendEntries(line, lineNumber, filters, entries); });
    return entries;
}

} // namespace lingrove::scanner
