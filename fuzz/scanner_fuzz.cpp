// Every literal the scanner reports lies inside the line, between two
// apostrophes, holds apostrophes only doubled, and its entry line reads back
// to the same fields; the entry
// parser accepts only what it can write again unchanged.
#include "core/scanner/Scanner.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace lingrove::scanner;

// A literal holds apostrophes only as doubled ones ('Don''t').
static bool onlyDoubled(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\'')
            continue;
        if (i + 1 >= text.size() || text[i + 1] != '\'')
            return false;
        ++i;
    }
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    ScanFilters all;
    all.accept = {true, true, true, true, true, true, true};
    std::size_t literals = 0;
    forEachLiteral(input, [&](int posA, int posB, std::string_view text) {
        ++literals;
        if (posA < 2 || posB < posA - 1 || static_cast<std::size_t>(posB) >= input.size()
            || input[static_cast<std::size_t>(posA) - 2] != '\'' || input[static_cast<std::size_t>(posB)] != '\''
            || input.substr(static_cast<std::size_t>(posA) - 1, text.size()) != text || !onlyDoubled(text))
            std::abort();
        const auto back = parseEntry(formatEntry({7, posA, posB, std::string(text)}));
        if (!back || *back != StringEntry{7, posA, posB, std::string(text)})
            std::abort();
    });
    // With every kind accepted, every literal is accepted and gets its entry line.
    std::size_t accepted = 0;
    forEachAcceptedLiteral(input, all, [&](int, int, std::string_view) { ++accepted; });
    std::vector<std::string> entries;
    appendEntries(input, 1, all, entries);
    if (accepted != literals || entries.size() != literals)
        std::abort();

    if (const auto e = parseEntry(input)) {
        const auto again = parseEntry(formatEntry(*e));
        if (!again || *again != *e)
            std::abort();
    }
    return 0;
}
