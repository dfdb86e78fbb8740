// Text form -> events: Delphi's text syntax (8-bit or UTF-8 with a
// byte-order mark) and the casts of this program's text form.
#include "core/text/Encoding.h"
#include "core/formfile/Events.h"
#include "core/formfile/Extended.h"

#include <cstring>

namespace lingrove::formfile::detail {

namespace {

enum class Token { Eof, Symbol, String, Number, Char };

bool isLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int hexValue(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::uint8_t castType(std::string_view name)
{
    for (std::uint8_t t : {vaString, vaLString, vaWString, vaUTF8String, vaInt16, vaInt32, vaInt64, vaDouble})
        if (equalsNoCase(name, castName(t)))
            return t;
    return vaNull;
}

class TextParser {
public:
    TextParser(std::string_view text, Sink& sink, const TextOptions& options)
        : begin_(text.data()), p_(text.data()), end_(text.data() + text.size()), sink_(sink), options_(options)
    {
        if (text::hasUtf8ByteOrderMark(text)) {
            utf8_ = true;
            p_ += 3;
        }
        body_ = p_;
        tokEnd_ = p_;
    }

    void run()
    {
        next();
        object(0);
    }

private:
    // ---- positions and errors ----

    std::size_t offset(const char* at) const { return static_cast<std::size_t>(at - begin_); }

    [[noreturn]] void fail(FormError::Kind kind, const std::string& what, const char* at, std::string expected = {})
    {
        long line = 1, column = 1;
        for (const char* q = body_; q < at && q < end_; ++q) {
            const auto c = static_cast<unsigned char>(*q);
            if (c == '\n' || (c == '\r' && (q + 1 == end_ || q[1] != '\n'))) {
                ++line;
                column = 1;
            } else if (c != '\r' && !(utf8_ && (c & 0xC0) == 0x80)) {
                ++column;
            }
        }
        throw FormError(kind, "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what,
                        line, -1, std::move(expected), column);
    }

    [[noreturn]] void fail(FormError::Kind kind, const std::string& what) { fail(kind, what, tokStart_); }

    std::string describeToken() const
    {
        switch (token_) {
        case Token::Eof:
            return "end of text";
        case Token::String:
            return "a string";
        default: {
            std::string s(tokStart_, std::min<std::size_t>(static_cast<std::size_t>(tokEnd_ - tokStart_), 32));
            for (char& c : s)
                if (static_cast<unsigned char>(c) < 32)
                    c = '?';
            return "'" + s + "'";
        }
        }
    }

    [[noreturn]] void expected(const std::string& item)
    {
        fail(FormError::Kind::Expected, item + " expected (found " + describeToken() + ")", tokStart_, item);
    }

    void checkDepth(int depth)
    {
        if (depth > kMaxDepth)
            fail(FormError::Kind::TooDeep, "objects or values nested too deeply");
    }

    // ---- tokens ----

    struct State {
        const char* p;
        const char* tokStart;
        const char* tokEnd;
        const char* lastEnd;
        Token token;
        bool highCode, nonAscii, isFloat, isHex;
        char suffix;
    };
    State save() const { return {p_, tokStart_, tokEnd_, lastEnd_, token_, highCode_, nonAscii_, isFloat_, isHex_, suffix_}; }
    void restore(const State& s)
    {
        p_ = s.p, tokStart_ = s.tokStart, tokEnd_ = s.tokEnd, lastEnd_ = s.lastEnd, token_ = s.token;
        highCode_ = s.highCode, nonAscii_ = s.nonAscii, isFloat_ = s.isFloat, isHex_ = s.isHex, suffix_ = s.suffix;
    }

    // Names may hold letters beyond ASCII (Delphi 2009 and later): any byte
    // above 127 (UTF-8 in UTF-8 text).
    static bool symbolChar(unsigned char c) { return isLetter(c) || isDigit(c) || c >= 0x80; }

    void next()
    {
        lastEnd_ = tokEnd_;
        while (p_ < end_) {
            const auto c = static_cast<unsigned char>(*p_);
            if (c < 1 || c > 32)
                break;
            ++p_;
        }
        tokStart_ = p_;
        if (p_ == end_) {
            token_ = Token::Eof;
        } else {
            const auto c = static_cast<unsigned char>(*p_);
            if (isLetter(c) || c >= 0x80) {
                ++p_;
                while (p_ < end_ && symbolChar(static_cast<unsigned char>(*p_)))
                    ++p_;
                token_ = Token::Symbol;
            } else if (c == '\'' || c == '#') {
                scanString();
                token_ = Token::String;
            } else if (c == '$') {
                ++p_;
                while (p_ < end_ && hexValue(static_cast<unsigned char>(*p_)) >= 0)
                    ++p_;
                token_ = Token::Number;
                isHex_ = true, isFloat_ = false, suffix_ = 0;
            } else if (c == '-' || isDigit(c)) {
                scanNumber();
            } else {
                ++p_;
                token_ = Token::Char;
            }
        }
        tokEnd_ = p_;
    }

    void scanNumber()
    {
        ++p_;
        while (p_ < end_ && isDigit(static_cast<unsigned char>(*p_)))
            ++p_;
        token_ = Token::Number;
        isHex_ = false, isFloat_ = false, suffix_ = 0;
        while (p_ < end_) {
            const char d = *p_;
            if (!(isDigit(static_cast<unsigned char>(d)) || d == '.' || d == 'e' || d == 'E' || d == '+' || d == '-'))
                break;
            ++p_;
            isFloat_ = true;
        }
        if (p_ < end_) {
            const char s = static_cast<char>(*p_ | 0x20);
            if (s == 's' || s == 'c' || s == 'd') {
                suffix_ = s;
                ++p_;
            }
        }
    }

    // Finds the end of a string token: quoted parts and #nnn codes.
    void scanString()
    {
        highCode_ = nonAscii_ = false;
        for (;;) {
            if (p_ < end_ && *p_ == '\'') {
                const char* opening = p_;
                ++p_;
                for (;;) {
                    while (p_ < end_ && *p_ != '\'' && *p_ != '\r' && *p_ != '\n') {
                        if (static_cast<unsigned char>(*p_) >= 0x80)
                            nonAscii_ = true;
                        ++p_;
                    }
                    if (p_ == end_ || *p_ != '\'')
                        fail(FormError::Kind::InvalidString, "invalid string constant (unterminated string)", opening);
                    ++p_;
                    if (p_ < end_ && *p_ == '\'')
                        ++p_;
                    else
                        break;
                }
            } else if (p_ < end_ && *p_ == '#') {
                const char* at = p_;
                const unsigned long code = characterCode();
                if (code > 0xFFFF)
                    fail(FormError::Kind::InvalidCharacter,
                         "character code #" + std::string(at + 1, p_) + " is above 65535 (a form holds UTF-16 units)",
                         at);
                if (code > 127)
                    highCode_ = true;
            } else {
                return;
            }
        }
    }

    // "#" and decimal digits or "$" and hexadecimal digits; p_ at "#".
    unsigned long characterCode()
    {
        const char* at = p_;
        ++p_;
        unsigned long code = 0;
        const bool hex = p_ < end_ && *p_ == '$';
        if (hex)
            ++p_;
        const char* digits = p_;
        while (p_ < end_) {
            const auto c = static_cast<unsigned char>(*p_);
            const int v = hex ? hexValue(c) : (isDigit(c) ? c - '0' : -1);
            if (v < 0)
                break;
            code = std::min<unsigned long>(code * (hex ? 16 : 10) + static_cast<unsigned long>(v), 0x1000000);
            ++p_;
        }
        if (p_ == digits)
            fail(FormError::Kind::InvalidString, "invalid string constant (digits expected after #)", at);
        return code;
    }

    std::string_view tokenText() const { return {tokStart_, static_cast<std::size_t>(tokEnd_ - tokStart_)}; }
    bool isChar(char c) const { return token_ == Token::Char && *tokStart_ == c; }
    bool isSymbol(std::string_view word) const { return token_ == Token::Symbol && equalsNoCase(tokenText(), word); }

    void checkChar(char c)
    {
        if (!isChar(c))
            expected(std::string("'") + c + "'");
    }
    void checkSymbol()
    {
        if (token_ != Token::Symbol)
            expected("identifier");
    }

    void checkName(std::string_view s, const char* at)
    {
        if (s.size() > 255)
            fail(FormError::Kind::NameTooLong, "name longer than 255 characters", at);
    }

    // ---- numbers ----

    [[noreturn]] void badNumber(const std::string& why = {})
    {
        fail(FormError::Kind::InvalidNumber, "invalid numeric value " + describeToken() + why);
    }

    // The integer of a Number token without point, exponent or suffix.
    std::int64_t integerValue()
    {
        if (token_ != Token::Number || isFloat_ || suffix_)
            expected("integer");
        const std::string_view t = tokenText();
        if (isHex_) {
            const std::size_t n = t.size() - 1;
            if (n == 0 || n > 16)
                badNumber();
            std::uint64_t v = 0;
            for (std::size_t i = 1; i < t.size(); ++i)
                v = v * 16 + static_cast<std::uint64_t>(hexValue(static_cast<unsigned char>(t[i])));
            // Up to eight digits are a 32-bit pattern, more a 64-bit one.
            return n <= 8 ? static_cast<std::int32_t>(static_cast<std::uint32_t>(v)) : static_cast<std::int64_t>(v);
        }
        const bool negative = t[0] == '-';
        const std::size_t first = negative ? 1 : 0;
        if (t.size() == first)
            badNumber();
        std::uint64_t v = 0;
        const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
        for (std::size_t i = first; i < t.size(); ++i) {
            const auto d = static_cast<std::uint64_t>(t[i] - '0');
            if (v > (limit - d) / 10)
                badNumber(" (out of range)");
            v = v * 10 + d;
        }
        return negative ? static_cast<std::int64_t>(0 - v) : static_cast<std::int64_t>(v);
    }

    static std::uint8_t minimalType(std::int64_t v)
    {
        if (v >= -128 && v <= 127)
            return vaInt8;
        if (v >= -32768 && v <= 32767)
            return vaInt16;
        if (v >= INT32_MIN && v <= INT32_MAX)
            return vaInt32;
        return vaInt64;
    }

    void storeLE(std::uint64_t v, int n)
    {
        payload_.clear();
        for (int i = 0; i < n; ++i)
            payload_ += static_cast<char>(v >> (8 * i));
    }

    // A Number token as a scalar.
    Scalar numberValue()
    {
        Scalar v;
        if (!isFloat_ && !suffix_) {
            v.integer = integerValue();
            v.type = minimalType(v.integer);
            return v;
        }
        if (isHex_)
            badNumber();
        std::string_view t = tokenText();
        if (suffix_)
            t.remove_suffix(1);
        DecimalResult r;
        switch (suffix_) {
        case 's':
        case 'd': {
            std::uint64_t bits = 0;
            const bool single = suffix_ == 's';
            r = textToIeee(t, single ? 23 : 52, single ? 8 : 11, bits);
            storeLE(bits, single ? 4 : 8);
            v.type = single ? vaSingle : vaDate;
            break;
        }
        case 'c': {
            std::int64_t amount = 0;
            r = currencyValue(t, amount);
            storeLE(static_cast<std::uint64_t>(amount), 8);
            v.type = vaCurrency;
            break;
        }
        default: {
            unsigned char bytes[10];
            r = textToExtended(t, bytes);
            payload_.assign(reinterpret_cast<const char*>(bytes), 10);
            v.type = vaExtended;
        }
        }
        if (r != DecimalResult::Ok)
            badNumber(r == DecimalResult::OutOfRange ? " (out of range)" : "");
        v.bytes = payload_;
        return v;
    }

    // Currency is written as the stored integer (the amount times 10000);
    // a fraction rounds to the nearest integer.
    static DecimalResult currencyValue(std::string_view t, std::int64_t& amount)
    {
        unsigned char ext[10];
        const DecimalResult r = textToExtended(t, ext);
        if (r != DecimalResult::Ok)
            return r;
        std::uint64_t m = 0;
        for (int i = 7; i >= 0; --i)
            m = (m << 8) | ext[i];
        const int field = (ext[8] | (ext[9] << 8)) & 0x7FFF;
        const bool negative = (ext[9] & 0x80) != 0;
        const int e2 = (field == 0 ? 1 : field) - 16383 - 63; // value = m * 2^e2
        std::uint64_t whole;
        if (m == 0 || e2 < -64) {
            whole = 0;
        } else if (e2 >= 0) {
            if (e2 >= 64 || (e2 > 0 && (m >> (64 - e2)) != 0))
                return DecimalResult::OutOfRange;
            whole = m << e2;
        } else {
            const int shift = -e2;
            whole = shift == 64 ? 0 : m >> shift;
            const std::uint64_t half = std::uint64_t{1} << (shift - 1);
            const std::uint64_t rest = shift == 64 ? m : m & ((half << 1) - 1);
            if (rest > half || (rest == half && (whole & 1)))
                ++whole;
        }
        if (whole > (negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1))
            return DecimalResult::OutOfRange;
        amount = negative ? static_cast<std::int64_t>(0 - whole) : static_cast<std::int64_t>(whole);
        return DecimalResult::Ok;
    }

    // ---- strings ----

    // Decodes the string pieces in [from, to) into payload_ (8-bit bytes) or
    // units_ (UTF-16). False when an 8-bit target cannot hold a character;
    // then failAt is where.
    bool decode(const char* from, const char* to, bool wide, const char*& failAt)
    {
        payload_.clear();
        units_.clear();
        const char* q = from;
        while (q < to) {
            if (*q == '\'') {
                ++q;
                for (;;) {
                    while (*q != '\'') {
                        if (!literal(q, wide, failAt))
                            return false;
                    }
                    ++q;
                    if (q < to && *q == '\'') {
                        put(u'\'', wide);
                        ++q;
                    } else {
                        break;
                    }
                }
            } else if (*q == '#') {
                const char* at = q;
                const char* saved = p_;
                p_ = q;
                const unsigned long code = characterCode();
                q = p_;
                p_ = saved;
                if (!wide && code > 255) {
                    failAt = at;
                    return false;
                }
                put(static_cast<char16_t>(code), wide);
            } else {
                ++q; // blanks and "+" between the pieces
            }
        }
        return true;
    }

    void put(char16_t c, bool wide)
    {
        if (wide)
            units_ += c;
        else
            payload_ += static_cast<char>(c);
    }

    // One literal character at q (advanced past it).
    bool literal(const char*& q, bool wide, const char*& failAt)
    {
        const auto b = static_cast<unsigned char>(*q);
        if (b < 0x80 || !utf8_) {
            ++q;
            if (wide)
                units_ += text::fromWindows1252(b);
            else
                payload_ += static_cast<char>(b);
            return true;
        }
        const char* at = q;
        auto u = reinterpret_cast<const unsigned char*>(q);
        const long c = text::decodeUtf8(u, reinterpret_cast<const unsigned char*>(end_));
        q = reinterpret_cast<const char*>(u);
        if (c < 0)
            fail(FormError::Kind::InvalidCharacter, "text is not UTF-8 here", at);
        if (wide) {
            if (c >= 0x10000) {
                units_ += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
                units_ += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                units_ += static_cast<char16_t>(c);
            }
            return true;
        }
        const int byte = text::toWindows1252(static_cast<char32_t>(c));
        if (byte < 0) {
            failAt = at;
            return false;
        }
        payload_ += static_cast<char>(byte);
        return true;
    }

    // A string value (a String token and "+" continuations) as a scalar of
    // the given type, or of the type the plain notation gives with vaNull.
    Scalar stringValue(std::uint8_t forced)
    {
        const char* from = tokStart_;
        bool high = highCode_, nonAscii = nonAscii_;
        next();
        while (isChar('+')) {
            next();
            if (token_ != Token::String)
                expected("string");
            high = high || highCode_;
            nonAscii = nonAscii || nonAscii_;
            next();
        }
        const char* to = lastEnd_;
        const bool plainWide = high || (utf8_ && nonAscii);
        Scalar v;
        const char* failAt = nullptr;
        if (isByteString(forced) || (forced == vaNull && !plainWide)) {
            if (decode(from, to, false, failAt)) {
                v.type = forced == vaLString || payload_.size() > 255 ? vaLString : vaString;
                v.bytes = payload_;
                return v;
            }
            if (!options_.lenientCasts) {
                const auto c = static_cast<unsigned char>(*failAt);
                fail(FormError::Kind::InvalidCharacter,
                     c == '#' ? "character code " + codeText(failAt) + " cannot be held by an 8-bit string"
                              : "this character cannot be held by an 8-bit string",
                     failAt);
            }
            forced = vaNull;
        }
        decode(from, to, true, failAt);
        v.type = forced == vaNull ? wideTypeFor(units_) : forced;
        if (v.type == vaWString) {
            payload_.clear();
            text::appendLE(payload_, units_);
        } else {
            payload_.clear();
            if (!text::unitsToUtf8(units_, payload_))
                fail(FormError::Kind::InvalidCharacter, "a lone surrogate code cannot be held by a UTF-8 string",
                     from);
        }
        v.bytes = payload_;
        return v;
    }

    std::string codeText(const char* at) const
    {
        const char* q = at + 1;
        while (q < end_ && (*q == '$' || hexValue(static_cast<unsigned char>(*q)) >= 0))
            ++q;
        return std::string(at, q);
    }

    // ---- grammar ----

    // "[" integer "]" (a child position or an item index); token at "[".
    Scalar indexValue()
    {
        next();
        Scalar v;
        if (token_ == Token::Symbol) {
            const std::uint8_t t = castType(tokenText());
            if ((t == vaInt16 || t == vaInt32) && p_ < end_ && *p_ == '(') {
                v = castValue(t);
            } else {
                expected("integer");
            }
        } else {
            v.integer = integerValue();
            if (v.integer < INT32_MIN || v.integer > INT32_MAX)
                badNumber(" (out of range)");
            v.type = minimalType(v.integer);
            next();
        }
        checkChar(']');
        next();
        return v;
    }

    // TypeName(value); token at the type name, "(" right after it.
    Scalar castValue(std::uint8_t type)
    {
        next(); // "("
        next();
        Scalar v;
        if (isStringType(type)) {
            if (token_ != Token::String)
                expected("string");
            v = stringValue(type);
        } else {
            if (token_ != Token::Number || suffix_)
                expected("number");
            if (type == vaDouble) {
                std::uint64_t bits = 0;
                const DecimalResult r = isHex_ ? DecimalResult::Invalid : textToIeee(tokenText(), 52, 11, bits);
                if (r != DecimalResult::Ok)
                    badNumber(r == DecimalResult::OutOfRange ? " (out of range)" : "");
                storeLE(bits, 8);
                v.bytes = payload_;
            } else {
                v.integer = integerValue();
                const bool fits = type == vaInt64 || (type == vaInt32 && v.integer >= INT32_MIN && v.integer <= INT32_MAX)
                                  || (type == vaInt16 && v.integer >= -32768 && v.integer <= 32767);
                if (!fits)
                    badNumber(" (out of range)");
            }
            v.type = type;
            next();
        }
        checkChar(')');
        next();
        return v;
    }

    void object(int depth)
    {
        checkDepth(depth);
        ObjectHeader h;
        const char* gap = lastEnd_;
        const char* start = tokStart_;
        if (isSymbol("inherited"))
            h.flags = kFlagInherited;
        else if (isSymbol("inline"))
            h.flags = kFlagInline;
        else if (!isSymbol("object"))
            expected("'object'");
        next();
        if (h.flags == kFlagInherited && isSymbol("inline")) {
            // "inherited inline Name: Class" (both flags) unless "inline" is the name.
            const State s = save();
            next();
            if (token_ == Token::Symbol)
                h.flags |= kFlagInline;
            else
                restore(s);
        }
        checkSymbol();
        const char* nameAt = tokStart_;
        h.className = tokenText();
        next();
        if (isChar(':')) {
            next();
            checkSymbol();
            h.name = h.className;
            h.className = tokenText();
            next();
        }
        checkName(h.className, nameAt);
        checkName(h.name, nameAt);
        if (isChar('[')) {
            h.flags |= kFlagChildPos;
            h.position = indexValue();
        }
        sink_.object(h, {offset(gap), offset(start), offset(lastEnd_)});
        while (!(isSymbol("end") || isSymbol("object") || isSymbol("inherited") || isSymbol("inline")))
            property(depth);
        sink_.endProperties();
        while (!isSymbol("end"))
            object(depth + 1);
        next();
        sink_.endObject();
    }

    void property(int depth)
    {
        if (token_ != Token::Symbol)
            expected(token_ == Token::Eof ? "'end'" : "identifier");
        const char* gap = lastEnd_;
        const char* start = tokStart_;
        dottedName();
        checkName(dotted_, start);
        sink_.property(dotted_, {offset(gap), offset(start), offset(lastEnd_)});
        checkChar('=');
        next();
        value(depth + 1);
    }

    // symbol ("." symbol)* joined into dotted_; leaves the next token current.
    void dottedName()
    {
        dotted_.assign(tokStart_, static_cast<std::size_t>(tokEnd_ - tokStart_));
        next();
        while (isChar('.')) {
            next();
            checkSymbol();
            dotted_ += '.';
            dotted_ += tokenText();
            next();
        }
    }

    void emit(const Scalar& v, const char* gap, const char* start)
    {
        sink_.value(v, {offset(gap), offset(start), offset(lastEnd_)});
    }

    void value(int depth)
    {
        checkDepth(depth);
        const char* gap = lastEnd_;
        const char* start = tokStart_;
        switch (token_) {
        case Token::Number: {
            const Scalar v = numberValue();
            next();
            emit(v, gap, start);
            return;
        }
        case Token::String:
            emit(stringValue(vaNull), gap, start);
            return;
        case Token::Symbol: {
            const std::uint8_t cast = castType(tokenText());
            if (cast != vaNull && p_ < end_ && *p_ == '(') {
                const Scalar v = castValue(cast);
                emit(v, gap, start);
                return;
            }
            const char* nameAt = tokStart_;
            dottedName();
            Scalar v;
            if (equalsNoCase(dotted_, "False")) {
                v.type = vaFalse;
            } else if (equalsNoCase(dotted_, "True")) {
                v.type = vaTrue;
            } else if (equalsNoCase(dotted_, "nil")) {
                v.type = vaNil;
            } else {
                checkName(dotted_, nameAt);
                v.type = vaIdent;
                v.bytes = dotted_;
            }
            emit(v, gap, start);
            return;
        }
        case Token::Char:
            break;
        case Token::Eof:
            fail(FormError::Kind::InvalidPropertyValue, "invalid property value (found end of text)");
        }
        switch (*tokStart_) {
        case '[': {
            next();
            set_.clear();
            if (!isChar(']')) {
                for (;;) {
                    checkSymbol();
                    checkName(tokenText(), tokStart_);
                    set_ += static_cast<char>(tokEnd_ - tokStart_);
                    set_ += tokenText();
                    next();
                    if (isChar(']'))
                        break;
                    checkChar(',');
                    next();
                }
            }
            set_ += '\0';
            next();
            Scalar v;
            v.type = vaSet;
            v.bytes = set_;
            emit(v, gap, start);
            return;
        }
        case '(':
            sink_.beginList({offset(gap), offset(start), offset(tokEnd_)});
            next();
            while (!isChar(')')) {
                if (token_ == Token::Eof)
                    expected("')'");
                value(depth + 1);
            }
            next();
            sink_.endList();
            return;
        case '{': {
            binary();
            next();
            Scalar v;
            v.type = vaBinary;
            v.bytes = payload_;
            emit(v, gap, start);
            return;
        }
        case '<':
            sink_.beginCollection({offset(gap), offset(start), offset(tokEnd_)});
            next();
            while (!isChar('>')) {
                if (!isSymbol("item"))
                    expected("'item'");
                const char* itemGap = lastEnd_;
                const char* itemAt = tokStart_;
                next();
                Scalar index;
                if (isChar('['))
                    index = indexValue();
                sink_.item(index, {offset(itemGap), offset(itemAt), offset(lastEnd_)});
                while (!isSymbol("end"))
                    property(depth);
                next();
                sink_.endItem();
            }
            next();
            sink_.endCollection();
            return;
        default:
            fail(FormError::Kind::InvalidPropertyValue, "invalid property value (found " + describeToken() + ")");
        }
    }

    // The hexadecimal digits after "{" up to "}" into payload_; p_ ends after "}".
    void binary()
    {
        payload_.clear();
        int high = -1;
        for (;;) {
            if (p_ == end_)
                fail(FormError::Kind::Expected, "'}' expected (found end of text)", p_, "'}'");
            const auto c = static_cast<unsigned char>(*p_);
            if (c == '}')
                break;
            if (c >= 1 && c <= 32) {
                ++p_;
                continue;
            }
            const int v = hexValue(c);
            if (v < 0)
                fail(FormError::Kind::InvalidBinary, "invalid binary value (not a hexadecimal digit)", p_);
            ++p_;
            if (high < 0) {
                high = v;
            } else {
                payload_ += static_cast<char>(high << 4 | v);
                high = -1;
            }
        }
        if (high >= 0)
            fail(FormError::Kind::InvalidBinary, "invalid binary value (odd number of hexadecimal digits)", p_);
        ++p_;
        tokEnd_ = p_;
    }

    const char* const begin_;
    const char* p_;
    const char* const end_;
    const char* body_ = nullptr;
    bool utf8_ = false;
    Sink& sink_;
    TextOptions options_;

    Token token_ = Token::Eof;
    const char* tokStart_ = nullptr;
    const char* tokEnd_ = nullptr;
    const char* lastEnd_ = nullptr;
    bool highCode_ = false, nonAscii_ = false; // String: a code above 127, a literal byte above 127
    bool isFloat_ = false, isHex_ = false;     // Number
    char suffix_ = 0;                          // Number: 's', 'c', 'd' or 0

    std::string payload_;
    std::u16string units_;
    std::string dotted_;
    std::string set_;
};

} // namespace

void parseText(std::string_view text, Sink& sink, const TextOptions& options)
{
    TextParser(text, sink, options).run();
}

} // namespace lingrove::formfile::detail
