#include "core/rcscript/Tables.h"

namespace lingrove::rcscript {

const std::array<TableEntry, 45> LanguageTable{{
    {1025, "Arabic"},
    {1026, "Bulgarian"},
    {1027, "Catalan"},
    {1028, "Traditional Chinese"},
    {2052, "Simplified Chinese"},
    {1029, "Czech"},
    {1030, "Danish"},
    {1031, "German"},
    {2055, "Swiss German"},
    {1032, "Greek"},
    {1033, "U.S. English"},
    {2057, "U.K. English"},
    {1034, "Castilian Spanish"},
    {2058, "Mexican Spanish"},
    {1035, "Finnish"},
    {1036, "French"},
    {2060, "Belgian French"},
    {3084, "Canadian French"},
    {4108, "Swiss French"},
    {1037, "Hebrew"},
    {1038, "Hungarian"},
    {1039, "Icelandic"},
    {1040, "Italian"},
    {2064, "Swiss Italian"},
    {1041, "Japanese"},
    {1042, "Korean"},
    {1043, "Dutch"},
    {2067, "Belgian Dutch"},
    {1044, "Norwegian - Bokm\xE5l"},
    {2068, "Norwegian - Nynorsk"},
    {1045, "Polish"},
    {1046, "Brazilian Portuguese"},
    {2070, "Portuguese"},
    {1047, "Rhaeto-Romanic"},
    {1048, "Romanian"},
    {1049, "Russian"},
    {1050, "Croato-Serbian (Latin)"},
    {2074, "Serbo-Croatian (Cyrillic)"},
    {1051, "Slovak"},
    {1052, "Albanian"},
    {1053, "Swedish"},
    {1054, "Thai"},
    {1055, "Turkish"},
    {1056, "Urdu"},
    {1057, "Bahasa"},
}};

const std::array<TableEntry, 12> CharsetTable{{
    {0, "7-bit ASCII"},
    {932, "Windows, Japan (Shift - JIS X-0208)"},
    {949, "Windows, Korea (Shift - KSC 5601)"},
    {950, "Windows, Taiwan (GB5)"},
    {1200, "Unicode"},
    {1250, "Windows, Latin-2 (Eastern European)"},
    {1251, "Windows, Cyrillic"},
    {1252, "Windows, Multilingual (ANSI)"},
    {1253, "Windows, Greek"},
    {1254, "Windows, Turkish"},
    {1255, "Windows, Hebrew"},
    {1256, "Windows, Arabic"},
}};

template <std::size_t N>
static std::optional<std::int32_t> idAt(const std::array<TableEntry, N>& table, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return std::nullopt;
    return table[static_cast<std::size_t>(index)].Id;
}

std::optional<std::int32_t> languageId(int index) { return idAt(LanguageTable, index); }
std::optional<std::int32_t> charsetId(int index) { return idAt(CharsetTable, index); }

std::string hex4(std::int32_t id)
{
    static const char digits[] = "0123456789ABCDEF";
    const auto v = static_cast<std::uint32_t>(id) & 0xFFFFu;
    std::string s(4, '0');
    for (int i = 0; i < 4; ++i)
        s[static_cast<std::size_t>(3 - i)] = digits[(v >> (4 * i)) & 0xFu];
    return s;
}

std::string decimal(std::int32_t id) { return std::to_string(id); }

} // namespace lingrove::rcscript
