#pragma once
// Pascal source to RTF: a tokenizer that splits Pascal text into tokens of the
// kinds in Highlight.h, and TPasConversion, which wraps every token in the
// colour group of its kind so that a rich-text editor shows the text coloured.
//
// Line breaks: CR LF, a lone LF and a lone CR each end a line (and become one
// "\par"), so that the lines of the document are the lines of the file as
// TextCodec splits them.
//
// Input bytes are Windows-1252 text, or UTF-8 when the caller says so. Every
// character that RTF cannot carry as it is comes out escaped ("\\", "\{",
// "\}", "\tab ", "\'xx", "\uN?"), so a reader gives back exactly the
// characters of the source.
#include "core/pascal/Highlight.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lingrove::pascal {

// An unterminated string literal ("Invalid string").
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class SourceEncoding { Windows1252, Utf8 };

struct Token {
    TokenKind kind;
    std::string_view text;   // a view into the tokenized source
    friend bool operator==(const Token&, const Token&) = default;
};

// Word tables (upper-case, sorted).
const std::vector<std::string_view>& reservedWords();        // 99 words
const std::vector<std::string_view>& propertyDirectives();   // 11 words
const std::vector<std::string_view>& propertyEndWords();     // 7 words

// The kind of a reserved word under the directive rule, updating inProperty:
// PROPERTY sets the flag, END, FUNCTION, PRIVATE, PROCEDURE, PROTECTED, PUBLIC
// and PUBLISHED clear it. A property directive is a bare word unless the flag
// is set; NAME, RESIDENT and STRINGRESOURCE stay bare words even then. Words
// outside the reserved-word table are identifiers. Letter case is ignored.
TokenKind classifyWord(std::string_view word, bool& inProperty);

// Split source into tokens. Throws ConversionError("Invalid string") for a
// literal that a line break or the end of the text interrupts. inProperty is
// the directive rule's flag, carried in and out.
std::vector<Token> tokenize(std::string_view source, bool& inProperty,
                            SourceEncoding encoding = SourceEncoding::Windows1252);

class TPasConversion {
public:
    TPasConversion() = default;

    // Build the colour table and the per-kind prefixes and suffixes.
    void setColourScheme(const ColourScheme& scheme);
    // Check the scheme number (2 or 3, else HighlightVersionError), then set
    // the scheme. The scheme's source (the IDE's key) is the caller's.
    void HighlightVersion(int version, const ColourScheme& scheme);

    void setEncoding(SourceEncoding e) { encoding_ = e; }
    SourceEncoding encoding() const { return encoding_; }

    // The content: the source before ConvertToRtf, the RTF document after.
    void load(std::string source) { content_ = std::move(source); }
    const std::string& content() const { return content_; }
    std::string take() { return std::move(content_); }

    // Replace the content by the RTF document. On an error the content is
    // left as it was.
    void ConvertToRtf();

    // Convert source without touching the content.
    std::string convert(std::string_view source);

    const std::string& colourTable() const { return colourTable_; }
    std::string prefix(TokenKind k) const { return prefix_[static_cast<int>(k)].str(); }
    std::string suffix(TokenKind k) const { return suffix_[static_cast<int>(k)].str(); }
    bool inProperty() const { return inProperty_; }

    // A prefix or suffix, padded so that it can be copied in one fixed-size move.
    struct Piece {
        char text[24]{};
        std::uint8_t size = 0;
        std::string str() const { return std::string(text, size); }
    };

private:
    std::string content_;
    std::string colourTable_;
    std::array<Piece, kTokenKindCount> prefix_{};
    std::array<Piece, kTokenKindCount> suffix_{};
    bool inProperty_ = false;
    SourceEncoding encoding_ = SourceEncoding::Windows1252;
};

// One call: convert source with the given scheme.
std::string pascalToRtf(std::string_view source, const ColourScheme& scheme,
                        SourceEncoding encoding = SourceEncoding::Windows1252);

} // namespace lingrove::pascal
