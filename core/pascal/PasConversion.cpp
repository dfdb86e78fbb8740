#include "core/pascal/PasConversion.h"

#include <algorithm>
#include <bit>
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

// A word of up to 16 letters as two little-endian 64-bit numbers, zero-padded.
struct WordKey {
    std::uint64_t lo = 0;
    std::uint64_t hi = 0;
};

// Upper-case the letters of an identifier's bytes in place: a byte of an
// identifier is a lower-case letter exactly when its bits 0x40 and 0x20 are
// both set; clearing 0x20 then gives the capital.
inline std::uint64_t upperIdentifierBytes(std::uint64_t x)
{
    return x ^ (((x & 0x4040404040404040ull) >> 1) & x & 0x2020202020202020ull);
}

inline std::uint64_t loadLittleEndian(const Byte* p, std::size_t n)
{
    std::uint64_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, p, n);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    }
    return v;
}

// The key of the n (<= 16) bytes at p. When the text has 16 bytes from p on,
// they are read as two whole words and masked, which avoids building the key
// byte by byte.
inline WordKey wordKey(const Byte* p, std::size_t n, const Byte* end)
{
    WordKey k;
    if (std::endian::native == std::endian::little && end - p >= 16) {
        std::memcpy(&k.lo, p, 8);
        std::memcpy(&k.hi, p + 8, 8);
        if (n < 8) {
            k.lo &= (1ull << (8 * n)) - 1;
            k.hi = 0;
        } else if (n < 16) {
            k.hi &= n == 8 ? 0 : (1ull << (8 * (n - 8))) - 1;
        }
    } else {
        k.lo = loadLittleEndian(p, std::min<std::size_t>(n, 8));
        if (n > 8)
            k.hi = loadLittleEndian(p + 8, n - 8);
    }
    k.lo = upperIdentifierBytes(k.lo);
    k.hi = upperIdentifierBytes(k.hi);
    return k;
}

// An open-addressing hash table over the reserved words: one multiply per
// word and usually a single comparison, instead of a search by halving.
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
            const auto* b = reinterpret_cast<const Byte*>(w.data());
            const WordKey key = wordKey(b, w.size(), b + w.size());
            std::size_t i = hash(key);
            while (slots_[i].used)
                i = (i + 1) & (kSlots - 1);
            slots_[i].key = key;
            slots_[i].used = true;
            slots_[i].flags = flags;
        }
    }

    // -1 when the (upper-case) key is not a reserved word.
    int find(const WordKey& key) const
    {
        std::size_t i = hash(key);
        while (slots_[i].used) {
            if (slots_[i].key.lo == key.lo && slots_[i].key.hi == key.hi)
                return slots_[i].flags;
            i = (i + 1) & (kSlots - 1);
        }
        return -1;
    }

private:
    static constexpr std::size_t kSlots = 512;
    static std::size_t hash(const WordKey& k)
    {
        const std::uint64_t h = (k.lo ^ (k.hi * 0x9E3779B97F4A7C15ull)) * 0xFF51AFD7ED558CCDull;
        return static_cast<std::size_t>(h >> 55) & (kSlots - 1);
    }
    struct Slot {
        WordKey key;
        bool used = false;
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
        : sink_(sink), inProperty_(inProperty), utf8_(utf8), t_(tables()), words_(wordTable())
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
        return kindOf(words_.find(wordKey(s, n, end_)), inProperty_);
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
    const WordTable& words_;
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

// The document buffer: a string sized ahead and written through a raw
// pointer; finish() trims it to the written length without copying.
class Output {
public:
    explicit Output(std::size_t expected) { grow(expected); }

    // At least n writable bytes at the returned pointer.
    char* room(std::size_t n)
    {
        if (static_cast<std::size_t>(limit_ - pos_) < n)
            grow(n);
        return pos_;
    }
    void advance(std::size_t n) { pos_ += n; }
    void put(const char* s, std::size_t n)
    {
        std::memcpy(room(n), s, n);
        pos_ += n;
    }
    void put(const std::string& s) { put(s.data(), s.size()); }
    void put(char c)
    {
        *room(1) = c;
        ++pos_;
    }
    std::string finish()
    {
        buf_.resize(static_cast<std::size_t>(pos_ - buf_.data()));
        return std::move(buf_);
    }

private:
    void grow(std::size_t n)
    {
        const std::size_t used = buf_.empty() ? 0 : static_cast<std::size_t>(pos_ - buf_.data());
        try {
            buf_.resize(std::max(buf_.size() * 2, used + n + 16384));
        } catch (const std::bad_alloc&) {
            throw ConversionError("conversions buffer to small");
        } catch (const std::length_error&) {
            throw ConversionError("conversions buffer to small");
        }
        pos_ = buf_.data() + used;
        limit_ = buf_.data() + buf_.size();
    }
    std::string buf_;
    char* pos_ = nullptr;
    char* limit_ = nullptr;
};

const char kHexDigits[] = "0123456789abcdef";

class RtfSink {
public:
    using Piece = TPasConversion::Piece;

    RtfSink(Output& out, const std::array<Piece, kTokenKindCount>& prefix,
            const std::array<Piece, kTokenKindCount>& suffix, bool utf8, const Byte* inputEnd)
        : out_(out), prefix_(prefix), suffix_(suffix), utf8_(utf8), esc_(escapes()),
          inputEnd_(inputEnd)
    {
    }

    // Writes go through a local pointer into room reserved once per token:
    // at most 6 bytes of RTF per byte of text, plus prefix and suffix.
#if defined(__GNUC__)
    __attribute__((always_inline))
#endif
    inline void operator()(TokenKind kind, const Byte* s, const Byte* e)
    {
        const int k = static_cast<int>(kind);
        const auto n = static_cast<std::size_t>(e - s);
        char* o = out_.room(6 * n + 3 * sizeof(Piece::text) + 16);
        if (kind == TokenKind::LineBreak) {
            o = copy(o, s, n);
            o = put(o, suffix_[k]);
            afterBreak_ = true;
        } else {
            // "\par" is a control word: letters right after it would extend it.
            if (afterBreak_ && prefix_[k].size == 0)
                *o++ = ' ';
            afterBreak_ = false;
            o = put(o, prefix_[k]);
            switch (kind) {
            case TokenKind::Identifier:
            case TokenKind::ReservedWord:
            case TokenKind::BareWord:
            case TokenKind::Number:
                // Letters, digits, "_", ".", "$": nothing to escape.
                o = copy(o, s, n);
                break;
            default:
                if (n == 1 && esc_.e[*s] == kCopy)
                    *o++ = static_cast<char>(*s);
                else
                    o = text(o, s, e);
                break;
            }
            o = put(o, suffix_[k]);
        }
        out_.advance(static_cast<std::size_t>(o - out_.room(0)));
    }

private:
    static char* put(char* o, const Piece& piece)
    {
        std::memcpy(o, piece.text, sizeof piece.text);
        return o + piece.size;
    }

    // Short runs move as one fixed 16 bytes when the input has them.
    char* copy(char* o, const Byte* s, std::size_t n) const
    {
        if (n <= 16 && inputEnd_ - s >= 16)
            std::memcpy(o, s, 16);
        else
            std::memcpy(o, s, n);
        return o + n;
    }

    char* text(char* o, const Byte* p, const Byte* e)
    {
        while (p < e) {
            const Byte* s = p;
            while (p < e && esc_.e[*p] == kCopy)
                ++p;
            if (p != s)
                o = copy(o, s, static_cast<std::size_t>(p - s));
            if (p == e)
                break;
            const Byte c = *p;
            switch (esc_.e[c]) {
            case kBackslash:
                o[0] = '\\';
                o[1] = static_cast<char>(c);
                o += 2;
                ++p;
                break;
            case kTab:
                std::memcpy(o, "\\tab ", 5);
                o += 5;
                ++p;
                break;
            case kHighByte:
                if (utf8_) {
                    std::uint32_t cp = 0xFFFD;
                    const std::size_t n = utf8Sequence(p, e, &cp);
                    if (n == 0)
                        cp = 0xFFFD;
                    o = unicode(o, cp);
                    p += n ? n : 1;
                    break;
                }
                [[fallthrough]];
            default:
                o[0] = '\\';
                o[1] = '\'';
                o[2] = kHexDigits[c >> 4];
                o[3] = kHexDigits[c & 15];
                o += 4;
                ++p;
                break;
            }
        }
        return o;
    }

    // \uN with N as a signed 16-bit number and "?" as the fallback character.
    // A 1-byte sequence never comes here; 2 bytes give at most 9 characters,
    // 3 bytes 9 and 4 bytes 18.
    static char* unicode(char* o, std::uint32_t cp)
    {
        if (cp > 0xFFFF) {
            cp -= 0x10000;
            o = unit(o, 0xD800 + (cp >> 10));
            return unit(o, 0xDC00 + (cp & 0x3FF));
        }
        return unit(o, cp);
    }
    static char* unit(char* o, std::uint32_t u)
    {
        int v = static_cast<int>(u);
        if (v > 32767)
            v -= 65536;
        *o++ = '\\';
        *o++ = 'u';
        if (v < 0) {
            *o++ = '-';
            v = -v;
        }
        char digits[8];
        int d = 0;
        do {
            digits[d++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v);
        while (d)
            *o++ = digits[--d];
        *o++ = '?';
        return o;
    }

    Output& out_;
    const std::array<Piece, kTokenKindCount>& prefix_;
    const std::array<Piece, kTokenKindCount>& suffix_;
    bool utf8_;
    const EscapeTable& esc_;
    const Byte* inputEnd_;
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
    // Only identifier characters may reach the key's case folding.
    for (char c : word)
        if (!tables().ident[static_cast<Byte>(c)])
            return TokenKind::Identifier;
    const Byte* b = bytes(word);
    return Scanner<CollectSink>::kindOf(wordTable().find(wordKey(b, word.size(), b + word.size())),
                                        inProperty);
}

std::vector<Token> tokenize(std::string_view source, bool& inProperty, SourceEncoding encoding)
{
    std::vector<Token> tokens;
    tokens.reserve(source.size() / 4 + 1);
    CollectSink sink{&tokens};
    Scanner<CollectSink> scanner(sink, inProperty, encoding == SourceEncoding::Utf8);
    scanner.run(bytes(source), bytes(source) + source.size());
    return tokens;
}

void TPasConversion::setColourScheme(const ColourScheme& scheme)
{
    const auto piece = [](std::string_view text) {
        Piece p;
        std::memcpy(p.text, text.data(), std::min(text.size(), sizeof p.text));
        p.size = static_cast<std::uint8_t>(std::min(text.size(), sizeof p.text));
        return p;
    };
    colourTable_.clear();
    for (int k = 0; k < kTokenKindCount; ++k) {
        const auto kind = static_cast<TokenKind>(k);
        prefix_[k] = Piece{};
        suffix_[k] = Piece{};
        if (kind == TokenKind::LineBreak || kind == TokenKind::BareWord) {
            colourTable_.append("\\red0\\green0\\blue0;");
            if (kind == TokenKind::LineBreak)
                suffix_[k] = piece("\\par");
            continue;
        }
        const TokenStyle& st = scheme.styles[k];
        colourTable_.append("\\red").append(std::to_string(st.colour.red));
        colourTable_.append("\\green").append(std::to_string(st.colour.green));
        colourTable_.append("\\blue").append(std::to_string(st.colour.blue)).append(1, ';');
        std::string pre(1, '{');
        if (st.bold)
            pre.append("\\b ");
        if (st.italic)
            pre.append("\\i ");
        if (st.underline)
            pre.append("\\ul ");
        pre.append("\\cf").append(std::to_string(k)).append(1, ' ');
        prefix_[k] = piece(pre);
        suffix_[k] = piece("}");
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

    // Coloured Pascal comes to about three and a half times its length.
    Output out(source.size() / 2 * 7 + colourTable_.size() + 512);
    out.put(kFontTable.data(), kFontTable.size());
    out.put("{\\colortbl", 10);
    out.put(colourTable_);
    out.put("}\r\n", 3);
    out.put(kText.data(), kText.size());
    // An empty text still closes the document's group.
    if (source.empty()) {
        out.put('}');
        return out.finish();
    }

    // The flag changes only when the whole text converted.
    bool inProperty = inProperty_;
    RtfSink sink(out, prefix_, suffix_, encoding_ == SourceEncoding::Utf8,
                 bytes(source) + source.size());
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
