#include "core/pascal/Highlight.h"

#include <cstddef>

namespace lingrove::pascal {

namespace {

constexpr const char* kValueNames[kTokenKindCount] = {
    "Assembler", "Comment",   nullptr,  nullptr,  "Identifier", "Reserved_Word",
    "Number",    "Whitespace", "String", "Symbol", "Plain_Text",
};

constexpr Rgb rgb(std::uint32_t v)
{
    return Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
               static_cast<std::uint8_t>(v)};
}

// Windows 95 standard scheme, indexed by COLOR_* constant.
constexpr Rgb kClassicSystem[] = {
    rgb(0xC0C0C0), // 0 scroll bar
    rgb(0x008080), // 1 desktop
    rgb(0x000080), // 2 active caption
    rgb(0x808080), // 3 inactive caption
    rgb(0xC0C0C0), // 4 menu
    rgb(0xFFFFFF), // 5 window
    rgb(0x000000), // 6 window frame
    rgb(0x000000), // 7 menu text
    rgb(0x000000), // 8 window text
    rgb(0xFFFFFF), // 9 caption text
    rgb(0xC0C0C0), // 10 active border
    rgb(0xC0C0C0), // 11 inactive border
    rgb(0x808080), // 12 application workspace
    rgb(0x000080), // 13 highlight
    rgb(0xFFFFFF), // 14 highlight text
    rgb(0xC0C0C0), // 15 button face
    rgb(0x808080), // 16 button shadow
    rgb(0x808080), // 17 grey text
    rgb(0x000000), // 18 button text
    rgb(0xC0C0C0), // 19 inactive caption text
    rgb(0xFFFFFF), // 20 button highlight
    rgb(0x000000), // 21 3D dark shadow
    rgb(0xDFDFDF), // 22 3D light
    rgb(0x000000), // 23 tooltip text
    rgb(0xFFFFE1), // 24 tooltip background
};

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Delphi's integer syntax: optional sign, decimal digits or "$" and hex
// digits. 0 when the text is not such a number or does not fit 32 bits
// (hexadecimal wraps as in Delphi: $FF000008 is negative).
std::int32_t toInteger(std::string_view s)
{
    s = trim(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return 0;
    std::int64_t value = 0;
    if (s.front() == '$') {
        s.remove_prefix(1);
        if (s.empty() || s.size() > 8)
            return 0;
        std::uint32_t u = 0;
        for (char c : s) {
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return 0;
            u = (u << 4) | static_cast<std::uint32_t>(d);
        }
        const auto wrapped = static_cast<std::int32_t>(u);
        return negative ? static_cast<std::int32_t>(0u - u) : wrapped;
    }
    for (char c : s) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            return 0;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return 0;
    return static_cast<std::int32_t>(value);
}

} // namespace

const char* highlightValueName(TokenKind kind)
{
    const auto i = static_cast<std::size_t>(kind);
    return i < std::size(kValueNames) ? kValueNames[i] : nullptr;
}

ColourScheme ColourScheme::classic()
{
    ColourScheme s;
    const Rgb navy{0, 0, 128};
    const Rgb blue{0, 0, 255};
    s[TokenKind::Comment] = TokenStyle{navy, false, true, false};
    s[TokenKind::ReservedWord] = TokenStyle{Rgb{}, true, false, false};
    s[TokenKind::String] = TokenStyle{blue, false, false, false};
    s[TokenKind::Number] = TokenStyle{blue, false, false, false};
    return s;
}

HighlightVersionError::HighlightVersionError()
    : std::runtime_error("Only syntax highlighting from Delphi 2 and 3 are supported")
{
}

void checkHighlightVersion(int version)
{
    if (version != 2 && version != 3)
        throw HighlightVersionError();
}

Rgb classicSystemColour(int index)
{
    if (index >= 0 && static_cast<std::size_t>(index) < std::size(kClassicSystem))
        return kClassicSystem[index];
    return Rgb{};
}

Rgb windowsColour(std::int32_t value, const SystemColourLookup& system)
{
    const auto u = static_cast<std::uint32_t>(value);
    if (value < 0) {
        const int index = static_cast<int>(u & 0xFF);
        return system ? system(index) : classicSystemColour(index);
    }
    return Rgb{static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
               static_cast<std::uint8_t>(u >> 16)};
}

TokenStyle parseHighlightValue(std::string_view value, const SystemColourLookup& system)
{
    std::string_view fields[3];
    std::size_t n = 0;
    std::string_view rest = value;
    while (n < 3) {
        const auto comma = rest.find(',');
        fields[n++] = rest.substr(0, comma);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    TokenStyle style;
    style.colour = windowsColour(toInteger(fields[0]), system);
    const std::string_view letters = fields[2];
    style.bold = letters.find('B') != std::string_view::npos;
    style.italic = letters.find('I') != std::string_view::npos;
    style.underline = letters.find('U') != std::string_view::npos;
    return style;
}

} // namespace lingrove::pascal
