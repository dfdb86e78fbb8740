#include "sources/pascal/PasConversion.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

namespace lingrove::pascal {

namespace {

using Byte = unsigned char;

// ---------------------------------------------------------------- word tables

constexpr std::string_view kReserved[] = {
    "ABSOLUTE",     "ABSTRACT",       "AND",         "ARRAY",       "AS",
    "ASM",          "ASSEMBLER",      "AUTOMATED",   "BEGIN",       "CASE",
    "CDECL",        "CLASS",          "CONST",       "CONSTRUCTOR", "DEFAULT",
    "DESTRUCTOR",   "DISPID",         "DISPINTERFACE", "DIV",       "DO",
    "DOWNTO",       "DYNAMIC",        "ELSE",        "END",         "EXCEPT",
    "EXPORT",       "EXPORTS",        "EXTERNAL",    "FAR",         "FILE",
    "FINALIZATION", "FINALLY",        "FOR",         "FORWARD",     "FUNCTION",
    "GOTO",         "IF",             "IMPLEMENTATION", "IN",       "INDEX",
    "INHERITED",    "INITIALIZATION", "INLINE",      "INTERFACE",   "IS",
    "LABEL",        "LIBRARY",        "MESSAGE",     "MOD",         "NAME",
    "NEAR",         "NIL",            "NODEFAULT",   "NOT",         "OBJECT",
    "OF",           "OR",             "OUT",         "OVERRIDE",    "PACKED",
    "PASCAL",       "PRIVATE",        "PROCEDURE",   "PROGRAM",     "PROPERTY",
    "PROTECTED",    "PUBLIC",         "PUBLISHED",   "RAISE",       "READ",
    "READONLY",     "RECORD",         "REGISTER",    "REPEAT",      "RESIDENT",
    "RESOURCESTRING", "SAFECALL",     "SET",         "SHL",         "SHR",
    "STDCALL",      "STORED",         "STRING",      "STRINGRESOURCE", "THEN",
    "THREADVAR",    "TO",             "TRY",         "TYPE",        "UNIT",
    "UNTIL",        "USES",           "VAR",         "VIRTUAL",     "WHILE",
    "WITH",         "WRITE",          "WRITEONLY",   "XOR",
};

constexpr std::string_view kDirectives[] = {
    "AUTOMATED", "INDEX",  "NAME",           "NODEFAULT", "READ",      "READONLY",
    "RESIDENT",  "STORED", "STRINGRESOURCE", "WRITE",     "WRITEONLY",
};

constexpr std::string_view kPropertyEnd[] = {
    "END", "FUNCTION", "PRIVATE", "PROCEDURE", "PROTECTED", "PUBLIC", "PUBLISHED",
};

// Directives that stay bare words inside a property declaration.
constexpr std::string_view kAlwaysBare[] = {"NAME", "RESIDENT", "STRINGRESOURCE"};

enum WordFlag : std::uint8_t {
    kDirective = 1,
    kEndsProperty = 2,
    kStartsProperty = 4,
    kBareInProperty = 8,
};

constexpr std::size_t kMaxWord = 14;

// An open-addressing hash table over the reserved words: one multiply-add per
// letter and usually a single comparison, instead of a search by halving.
class WordTable {
public:
    WordTable()
    {
        for (auto w : kReserved) {
            std::uint8_t flags = 0;
            if (std::find(std::begin(kDirectives), std::end(kDirectives), w) != std::end(kDirectives))
                flags |= kDirective;
            if (std::find(std::begin(kPropertyEnd), std::end(kPropertyEnd), w) != std::end(kPropertyEnd))
                flags |= kEndsProperty;
            if (std::find(std::begin(kAlwaysBare), std::end(kAlwaysBare), w) != std::end(kAlwaysBare))
                flags |= kBareInProperty;
            if (w == "PROPERTY")
                flags |= kStartsProperty;
            std::size_t i = hash(reinterpret_cast<const Byte*>(w.data()), w.size());
            while (slots_[i].length != 0)
                i = (i + 1) & (kSlots - 1);
            std::memcpy(slots_[i].word, w.data(), w.size());
            slots_[i].length = static_cast<std::uint8_t>(w.size());
            slots_[i].flags = flags;
        }
    }

    // upper: the word in upper case. -1 when it is not a reserved word.
    int find(const Byte* upper, std::size_t n) const
    {
        std::size_t i = hash(upper, n);
        while (slots_[i].length != 0) {
            if (slots_[i].length == n && std::memcmp(slots_[i].word, upper, n) == 0)
                return slots_[i].flags;
            i = (i + 1) & (kSlots - 1);
        }
        return -1;
    }

private:
    static constexpr std::size_t kSlots = 512;
    static std::size_t hash(const Byte* s, std::size_t n)
    {
        std::uint32_t h = static_cast<std::uint32_t>(n);
        for (std::size_t i = 0; i < n; ++i)
            h = h * 31u + s[i];
        return (h ^ (h >> 9)) & (kSlots - 1);
    }
    struct Slot {
        char word[kMaxWord]{};
        std::uint8_t length = 0;
        std::uint8_t flags = 0;
    };
    Slot slots_[kSlots];
};

const WordTable& wordTable()
{
    static const WordTable table;
    return table;
}

// ----------------------------------------------------------- character classes

enum Class : Byte {
    kOther,    // one character of plain text
    kCR,
    kLF,
    kSpace,    // control characters and blank
    kAlpha,    // letter or "_"
    kDigit,
    kDollar,
    kHash,
    kQuote,
    kLBrace,
    kSymbol,
    kHigh,     // 128..255
};

struct Tables {
    Byte cls[256];
    bool ident[256];     // letter, digit, "_"
    bool number[256];    // digit, ".", "E", "e"
    bool hex[256];       // "$", digits, "A"-"F", "a"-"f"
    bool charConst[256]; // "#", digits
    Tables()
    {
        for (int c = 0; c < 256; ++c) {
            Byte k = kOther;
            if (c == 13)
                k = kCR;
            else if (c == 10)
                k = kLF;
            else if (c >= 1 && c <= 32)
                k = kSpace;
            else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_')
                k = kAlpha;
            else if (c >= '0' && c <= '9')
                k = kDigit;
            else if (c == '$')
                k = kDollar;
            else if (c == '#')
                k = kHash;
            else if (c == '\'')
                k = kQuote;
            else if (c == '{')
                k = kLBrace;
            else if (c >= 128)
                k = kHigh;
            else if (std::strchr("!\"%&()*+,-./:;<=>?@[]\\^`~", c) != nullptr)
                k = kSymbol;
            cls[c] = k;
            const bool digit = c >= '0' && c <= '9';
            ident[c] = k == kAlpha || digit;
            number[c] = digit || c == '.' || c == 'E' || c == 'e';
            hex[c] = digit || c == '$' || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
            charConst[c] = digit || c == '#';
        }
        cls[0] = kOther;
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

// Length of the well-formed UTF-8 sequence at p, or 0 when none starts there.
std::size_t utf8Sequence(const Byte* p, const Byte* end, std::uint32_t* codePoint)
{
    const Byte c = *p;
    std::size_t n;
    std::uint32_t cp;
    Byte lo = 0x80, hi = 0xBF;
    if (c < 0x80) {
        if (codePoint)
            *codePoint = c;
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
        if (c == 0xE0)
            lo = 0xA0;
        else if (c == 0xED)
            hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
        if (c == 0xF0)
            lo = 0x90;
        else if (c == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) < n)
        return 0;
    for (std::size_t i = 1; i < n; ++i) {
        const Byte b = p[i];
        if (b < lo || b > hi)
            return 0;
        lo = 0x80;
        hi = 0xBF;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (codePoint)
        *codePoint = cp;
    return n;
}

// ------------------------------------------------------------------- scanner

bool isLineBreak(Byte c) { return c == '\r' || c == '\n'; }

// Calls sink(kind, begin, end) for every token of [p, end).
template <class Sink>
class Scanner {
public:
    Scanner(Sink& sink, bool& inProperty, bool utf8)
        : sink_(sink), inProperty_(inProperty), utf8_(utf8), t_(tables())
    {
    }

    void run(const Byte* p, const Byte* end)
    {
        end_ = end;
        while (p < end) {
            const Byte c = *p;
            const Byte* s = p;
            switch (t_.cls[c]) {
            case kCR:
            case kLF:
                p = lineBreak(p);
                break;
            case kSpace:
                do
                    ++p;
                while (p < end && t_.cls[*p] == kSpace);
                sink_(TokenKind::Whitespace, s, p);
                break;
            case kAlpha:
                do
                    ++p;
                while (p < end && t_.ident[*p]);
                sink_(word(s, p), s, p);
                break;
            case kDigit:
                do
                    ++p;
                while (p < end && t_.number[*p]);
                sink_(TokenKind::Number, s, p);
                break;
            case kDollar:
                do
                    ++p;
                while (p < end && t_.hex[*p]);
                sink_(TokenKind::Number, s, p);
                break;
            case kHash:
                do
                    ++p;
                while (p < end && t_.charConst[*p]);
                sink_(TokenKind::String, s, p);
                break;
            case kQuote:
                ++p;
                while (p < end && *p != '\'' && !isLineBreak(*p))
                    ++p;
                if (p == end || *p != '\'')
                    throw ConversionError("Invalid string");
                ++p;
                sink_(TokenKind::String, s, p);
                break;
            case kLBrace:
                p = blockComment(s, s + 1, '}', 0);
                break;
            case kSymbol:
                p = symbols(s);
                break;
            case kHigh:
                if (utf8_) {
                    const std::size_t n = utf8Sequence(p, end, nullptr);
                    p += n ? n : 1;
                } else {
                    ++p;
                }
                sink_(TokenKind::PlainText, s, p);
                break;
            default:
                ++p;
                sink_(TokenKind::PlainText, s, p);
                break;
            }
        }
    }

private:
    TokenKind word(const Byte* s, const Byte* e)
    {
        const auto n = static_cast<std::size_t>(e - s);
        if (n < 2 || n > kMaxWord)
            return TokenKind::Identifier;
        Byte upper[kMaxWord];
        for (std::size_t i = 0; i < n; ++i) {
            const Byte c = s[i];
            upper[i] = (c >= 'a' && c <= 'z') ? static_cast<Byte>(c - 32) : c;
        }
        return kindOf(wordTable().find(upper, n), inProperty_);
    }

public:
    static TokenKind kindOf(int flags, bool& inProperty)
    {
        if (flags < 0)
            return TokenKind::Identifier;
        if (flags & kStartsProperty)
            inProperty = true;
        if (flags & kEndsProperty)
            inProperty = false;
        if (flags & kDirective) {
            if (!inProperty || (flags & kBareInProperty))
                return TokenKind::BareWord;
        }
        return TokenKind::ReservedWord;
    }

private:
    // CR LF, a lone LF or a lone CR: one line break.
    const Byte* lineBreak(const Byte* p)
    {
        const Byte* s = p;
        if (*p == '\r' && p + 1 < end_ && p[1] == '\n')
            p += 2;
        else
            ++p;
        sink_(TokenKind::LineBreak, s, p);
        return p;
    }

    // A "{...}" or "(*...*)" comment from s; the search for the closing mark
    // starts at from. Each line of it is a token of its own, with the line
    // breaks between them. An unclosed comment runs to the end of the text.
    const Byte* blockComment(const Byte* s, const Byte* from, Byte close, Byte closeBefore)
    {
        const Byte* p = from;
        for (;;) {
            if (p == end_) {
                if (p != s)
                    sink_(TokenKind::Comment, s, p);
                return p;
            }
            const Byte c = *p;
            if (isLineBreak(c)) {
                if (p != s)
                    sink_(TokenKind::Comment, s, p);
                p = lineBreak(p);
                s = p;
                continue;
            }
            if (closeBefore == 0 ? c == close
                                 : (c == closeBefore && p + 1 < end_ && p[1] == close)) {
                p += closeBefore == 0 ? 1 : 2;
                sink_(TokenKind::Comment, s, p);
                return p;
            }
            ++p;
        }
    }

    const Byte* symbols(const Byte* s)
    {
        const Byte* p = s;
        while (p < end_ && t_.cls[*p] == kSymbol) {
            const bool next = p + 1 < end_;
            if (next && p[0] == '(' && p[1] == '*') {
                if (p != s)
                    sink_(TokenKind::Symbol, s, p);
                return blockComment(p, p + 1, ')', '*');
            }
            if (next && p[0] == '/' && p[1] == '/') {
                if (p != s)
                    sink_(TokenKind::Symbol, s, p);
                const Byte* e = p + 2;
                while (e < end_ && !isLineBreak(*e))
                    ++e;
                sink_(TokenKind::Comment, p, e);
                return e;
            }
            ++p;
        }
        sink_(TokenKind::Symbol, s, p);
        return p;
    }

    Sink& sink_;
    bool& inProperty_;
    bool utf8_;
    const Tables& t_;
    const Byte* end_ = nullptr;
};

// ---------------------------------------------------------------- RTF writer

enum Escape : Byte {
    kCopy,
    kBackslash,   // "\", "{", "}": a backslash in front
    kHex,         // \'xx
    kTab,         // \tab
    kHighByte,    // \'xx, or a UTF-8 sequence as \uN?
};

struct EscapeTable {
    Byte e[256];
    EscapeTable()
    {
        for (int c = 0; c < 256; ++c)
            e[c] = (c < 32 || c == 127) ? kHex : c >= 128 ? kHighByte : kCopy;
        e[static_cast<Byte>('\\')] = kBackslash;
        e[static_cast<Byte>('{')] = kBackslash;
        e[static_cast<Byte>('}')] = kBackslash;
        e[static_cast<Byte>('\t')] = kTab;
    }
};

const EscapeTable& escapes()
{
    static const EscapeTable t;
    return t;
}

class Output {
public:
    explicit Output(std::size_t expected) { grow(expected); }

    char* room(std::size_t n)
    {
        if (n > buf_.size() - used_)
            grow(n);
        return buf_.data() + used_;
    }
    void put(const char* s, std::size_t n)
    {
        std::memcpy(room(n), s, n);
        used_ += n;
    }
    void put(const std::string& s) { put(s.data(), s.size()); }
    void put(char c) { *room(1) = c; ++used_; }
    void advance(std::size_t n) { used_ += n; }
    std::string finish()
    {
        buf_.resize(used_);
        return std::move(buf_);
    }

private:
    void grow(std::size_t n)
    {
        try {
            buf_.resize(std::max(buf_.size() * 2, used_ + n + 16384));
        } catch (const std::bad_alloc&) {
            throw ConversionError("conversions buffer to small");
        } catch (const std::length_error&) {
            throw ConversionError("conversions buffer to small");
        }
    }
    std::string buf_;
    std::size_t used_ = 0;
};

const char kHexDigits[] = "0123456789abcdef";

class RtfSink {
public:
    RtfSink(Output& out, const std::array<std::string, kTokenKindCount>& prefix,
            const std::array<std::string, kTokenKindCount>& suffix, bool utf8)
        : out_(out), prefix_(prefix), suffix_(suffix), utf8_(utf8), esc_(escapes())
    {
    }

    void operator()(TokenKind kind, const Byte* s, const Byte* e)
    {
        const int k = static_cast<int>(kind);
        if (kind == TokenKind::LineBreak) {
            out_.put(reinterpret_cast<const char*>(s), static_cast<std::size_t>(e - s));
            out_.put(suffix_[k]);
            afterBreak_ = true;
            return;
        }
        // "\par" is a control word: letters right after it would extend it.
        if (afterBreak_ && prefix_[k].empty())
            out_.put(' ');
        afterBreak_ = false;
        out_.put(prefix_[k]);
        text(s, e);
        out_.put(suffix_[k]);
    }

private:
    void text(const Byte* p, const Byte* e)
    {
        while (p < e) {
            const Byte* s = p;
            while (p < e && esc_.e[*p] == kCopy)
                ++p;
            if (p != s)
                out_.put(reinterpret_cast<const char*>(s), static_cast<std::size_t>(p - s));
            if (p == e)
                break;
            const Byte c = *p;
            switch (esc_.e[c]) {
            case kBackslash: {
                char* o = out_.room(2);
                o[0] = '\\';
                o[1] = static_cast<char>(c);
                out_.advance(2);
                ++p;
                break;
            }
            case kTab:
                out_.put("\\tab ", 5);
                ++p;
                break;
            case kHighByte:
                if (utf8_) {
                    std::uint32_t cp = 0xFFFD;
                    const std::size_t n = utf8Sequence(p, e, &cp);
                    if (n == 0)
                        cp = 0xFFFD;
                    unicode(cp);
                    p += n ? n : 1;
                    break;
                }
                [[fallthrough]];
            default: {
                char* o = out_.room(4);
                o[0] = '\\';
                o[1] = '\'';
                o[2] = kHexDigits[c >> 4];
                o[3] = kHexDigits[c & 15];
                out_.advance(4);
                ++p;
                break;
            }
            }
        }
    }

    // \uN with N as a signed 16-bit number and "?" as the fallback character.
    void unicode(std::uint32_t cp)
    {
        if (cp > 0xFFFF) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
    void unit(std::uint32_t u)
    {
        int v = static_cast<int>(u);
        if (v > 32767)
            v -= 65536;
        char buf[16];
        int n = 0;
        buf[n++] = '\\';
        buf[n++] = 'u';
        if (v < 0) {
            buf[n++] = '-';
            v = -v;
        }
        char digits[8];
        int d = 0;
        do {
            digits[d++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v);
        while (d)
            buf[n++] = digits[--d];
        buf[n++] = '?';
        out_.put(buf, static_cast<std::size_t>(n));
    }

    Output& out_;
    const std::array<std::string, kTokenKindCount>& prefix_;
    const std::array<std::string, kTokenKindCount>& suffix_;
    bool utf8_;
    const EscapeTable& esc_;
    bool afterBreak_ = false;
};

struct CollectSink {
    std::vector<Token>* tokens;
    void operator()(TokenKind kind, const Byte* s, const Byte* e)
    {
        tokens->push_back(Token{kind, std::string_view(reinterpret_cast<const char*>(s),
                                                       static_cast<std::size_t>(e - s))});
    }
};

const Byte* bytes(std::string_view s) { return reinterpret_cast<const Byte*>(s.data()); }

} // namespace

// ------------------------------------------------------------------- public

const std::vector<std::string_view>& reservedWords()
{
    static const std::vector<std::string_view> v(std::begin(kReserved), std::end(kReserved));
    return v;
}

const std::vector<std::string_view>& propertyDirectives()
{
    static const std::vector<std::string_view> v(std::begin(kDirectives), std::end(kDirectives));
    return v;
}

const std::vector<std::string_view>& propertyEndWords()
{
    static const std::vector<std::string_view> v(std::begin(kPropertyEnd), std::end(kPropertyEnd));
    return v;
}

TokenKind classifyWord(std::string_view word, bool& inProperty)
{
    if (word.size() < 2 || word.size() > kMaxWord)
        return TokenKind::Identifier;
    Byte upper[kMaxWord];
    for (std::size_t i = 0; i < word.size(); ++i) {
        const auto c = static_cast<Byte>(word[i]);
        upper[i] = (c >= 'a' && c <= 'z') ? static_cast<Byte>(c - 32) : c;
    }
    return Scanner<CollectSink>::kindOf(wordTable().find(upper, word.size()), inProperty);
}

std::vector<Token> tokenize(std::string_view source, bool& inProperty, SourceEncoding encoding)
{
    std::vector<Token> tokens;
    CollectSink sink{&tokens};
    Scanner<CollectSink> scanner(sink, inProperty, encoding == SourceEncoding::Utf8);
    scanner.run(bytes(source), bytes(source) + source.size());
    return tokens;
}

bool hasUtf8ByteOrderMark(std::string_view data)
{
    return data.size() >= 3 && static_cast<Byte>(data[0]) == 0xEF
           && static_cast<Byte>(data[1]) == 0xBB && static_cast<Byte>(data[2]) == 0xBF;
}

bool isValidUtf8(std::string_view data)
{
    const Byte* p = bytes(data);
    const Byte* end = p + data.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const std::size_t n = utf8Sequence(p, end, nullptr);
        if (n == 0)
            return false;
        p += n;
    }
    return true;
}

void TPasConversion::setColourScheme(const ColourScheme& scheme)
{
    colourTable_.clear();
    for (int k = 0; k < kTokenKindCount; ++k) {
        const auto kind = static_cast<TokenKind>(k);
        prefix_[k].clear();
        suffix_[k].clear();
        if (kind == TokenKind::LineBreak || kind == TokenKind::BareWord) {
            colourTable_ += "\\red0\\green0\\blue0;";
            if (kind == TokenKind::LineBreak)
                suffix_[k] = "\\par";
            continue;
        }
        const TokenStyle& st = scheme.styles[k];
        colourTable_ += "\\red" + std::to_string(st.colour.red) + "\\green"
                        + std::to_string(st.colour.green) + "\\blue"
                        + std::to_string(st.colour.blue) + ";";
        std::string& pre = prefix_[k];
        pre = "{";
        if (st.bold)
            pre += "\\b ";
        if (st.italic)
            pre += "\\i ";
        if (st.underline)
            pre += "\\ul ";
        pre += "\\cf" + std::to_string(k) + " ";
        suffix_[k] = "}";
    }
}

void TPasConversion::HighlightVersion(int version, const ColourScheme& scheme)
{
    checkHighlightVersion(version);
    setColourScheme(scheme);
}

std::string TPasConversion::convert(std::string_view source)
{
    static constexpr std::string_view kFontTable =
        "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS SansSerif;}"
        "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fmodern Courier New;}}\r\n";
    static constexpr std::string_view kText = "\\deflang1033\\pard\\plain\\f2\\fs20 ";
    static constexpr std::string_view kEnd = "\r\n\\par }";

    Output out(source.size() * 4 + colourTable_.size() + 512);
    out.put(kFontTable.data(), kFontTable.size());
    out.put("{\\colortbl", 10);
    out.put(colourTable_);
    out.put("}\r\n", 3);
    out.put(kText.data(), kText.size());
    if (source.empty())
        return out.finish();

    // The flag changes only when the whole text converted.
    bool inProperty = inProperty_;
    RtfSink sink(out, prefix_, suffix_, encoding_ == SourceEncoding::Utf8);
    Scanner<RtfSink> scanner(sink, inProperty, encoding_ == SourceEncoding::Utf8);
    scanner.run(bytes(source), bytes(source) + source.size());
    out.put(kEnd.data(), kEnd.size());
    inProperty_ = inProperty;
    return out.finish();
}

void TPasConversion::ConvertToRtf()
{
    content_ = convert(content_);
}

std::string pascalToRtf(std::string_view source, const ColourScheme& scheme, SourceEncoding encoding)
{
    TPasConversion c;
    c.setColourScheme(scheme);
    c.setEncoding(encoding);
    return c.convert(source);
}

} // namespace lingrove::pascal
