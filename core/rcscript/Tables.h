#pragma once
// The languages and code pages a version-information resource can declare.
// Names are 8-bit Windows-1252 text ("Norwegian - Bokm\xE5l").
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lingrove::rcscript {

struct TableEntry {
    std::int32_t Id;
    std::string_view Name;
};

extern const std::array<TableEntry, 45> LanguageTable;
extern const std::array<TableEntry, 12> CharsetTable;

// The id at a position of a table; nullopt outside the table (nothing chosen).
std::optional<std::int32_t> languageId(int index);
std::optional<std::int32_t> charsetId(int index);

// Exactly four upper-case hexadecimal digits: 1031 -> "0407", 0 -> "0000".
// Ids above 0xFFFF keep their low 16 bits (a block name has room for four).
std::string hex4(std::int32_t id);
// Decimal without leading zeros: 1252 -> "1252", 0 -> "0".
std::string decimal(std::int32_t id);

} // namespace lingrove::rcscript
