#pragma once
// Token kinds of the Pascal colourer and the colour scheme that styles them.
// The scheme is plain data: the Qt side fills it from the IDE's HighLight key,
// the command-line tool uses the classic editor colours.
#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lingrove::pascal {

// The index of a kind is also its entry in the RTF colour table ("\cf<index>").
enum class TokenKind : std::uint8_t {
    Assembler = 0,    // never produced by the tokenizer
    Comment = 1,
    LineBreak = 2,
    BareWord = 3,     // a directive word used outside its context
    Identifier = 4,
    ReservedWord = 5,
    Number = 6,
    Whitespace = 7,
    String = 8,
    Symbol = 9,
    PlainText = 10,
};

inline constexpr int kTokenKindCount = 11;

// The value name of a kind in the HighLight key; nullptr for the two kinds
// without a value of their own (line break, bare word).
const char* highlightValueName(TokenKind kind);

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct TokenStyle {
    Rgb colour;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const TokenStyle&, const TokenStyle&) = default;
};

struct ColourScheme {
    std::array<TokenStyle, kTokenKindCount> styles{};

    TokenStyle& operator[](TokenKind k) { return styles[static_cast<int>(k)]; }
    const TokenStyle& operator[](TokenKind k) const { return styles[static_cast<int>(k)]; }

    // The classic Delphi editor colours: reserved words bold, comments navy
    // and italic, strings and numbers blue, everything else black.
    static ColourScheme classic();
};

// Thrown for a scheme number other than 2 or 3.
class HighlightVersionError : public std::runtime_error {
public:
    HighlightVersionError();
};

// Throws HighlightVersionError unless version is 2 or 3.
void checkHighlightVersion(int version);

// Colour of a Windows system colour index (COLOR_WINDOWTEXT = 8, ...).
using SystemColourLookup = std::function<Rgb(int index)>;

// The Windows 95 default system colours; black for an unknown index.
Rgb classicSystemColour(int index);

// A Windows colour value: 0x00BBGGRR, or when negative a system colour whose
// index is the low byte.
Rgb windowsColour(std::int32_t value, const SystemColourLookup& system = classicSystemColour);

// One HighLight value ("fg,bg,style,...", comma separated): field 1 is the
// colour (decimal, or "$" hexadecimal; 0 when it is not a number), field 3
// holds the style letters B, I and U (upper-case, anywhere in the field).
TokenStyle parseHighlightValue(std::string_view value,
                               const SystemColourLookup& system = classicSystemColour);

} // namespace lingrove::pascal
