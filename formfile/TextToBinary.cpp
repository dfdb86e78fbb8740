// Text form -> binary form data.
#include "formfile/Extended.h"
#include "formfile/FormFile.h"
#include "formfile/Internal.h"

#include <cstring>

namespace lingrove::formfile {

using namespace detail;

namespace {

enum class Token { Eof, Symbol, String, Integer, Float, Char };

bool isLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isSymbolChar(unsigned char c) { return isLetter(c) || isDigit(c); }

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

class TextReader {
public:
    TextReader(std::string_view input, std::string& out)
        : p_(input.data()), end_(input.data() + input.size()), out_(out)
    {
    }

    void run()
    {
        out_.reserve(out_.size() + static_cast<std::size_t>(end_ - p_) / 2 + 64);
        out_ += "TPF0";
        next();
        convertObject(0);
    }

private:
    // ---- tokens ----

    [[noreturn]] void fail(FormError::Kind kind, const std::string& what, std::string expected = {})
    {
        throw FormError(kind, "line " + std::to_string(tokenLine_) + ": " + what, tokenLine_, -1,
                        std::move(expected));
    }

    std::string describeToken() const
    {
        switch (token_) {
        case Token::Eof:
            return "end of text";
        case Token::String:
            return "a string";
        default: {
            std::string s(tokenStart_, std::min<std::size_t>(tokenLength_, 32));
            for (char& c : s)
                if (static_cast<unsigned char>(c) < 32)
                    c = '?';
            return "'" + s + "'";
        }
        }
    }

    [[noreturn]] void expected(const std::string& item)
    {
        fail(FormError::Kind::Expected, item + " expected (found " + describeToken() + ")", item);
    }

    void skipBlanks()
    {
        while (p_ < end_) {
            const auto c = static_cast<unsigned char>(*p_);
            if (c == '\n')
                ++line_;
            else if (c < 1 || c > 32)
                break;
            ++p_;
        }
    }

    void next()
    {
        skipBlanks();
        tokenLine_ = line_;
        tokenStart_ = p_;
        if (p_ == end_) {
            token_ = Token::Eof;
            tokenLength_ = 0;
            return;
        }
        const auto c = static_cast<unsigned char>(*p_);
        if (isLetter(c)) {
            ++p_;
            while (p_ < end_ && isSymbolChar(static_cast<unsigned char>(*p_)))
                ++p_;
            token_ = Token::Symbol;
        } else if (c == '\'' || c == '#') {
            readString();
            token_ = Token::String;
        } else if (c == '$') {
            ++p_;
            while (p_ < end_ && hexValue(static_cast<unsigned char>(*p_)) >= 0)
                ++p_;
            token_ = Token::Integer;
        } else if (c == '-' || isDigit(c)) {
            ++p_;
            while (p_ < end_ && isDigit(static_cast<unsigned char>(*p_)))
                ++p_;
            token_ = Token::Integer;
            while (p_ < end_) {
                const char d = *p_;
                if (!(isDigit(static_cast<unsigned char>(d)) || d == '.' || d == 'e' || d == 'E' || d == '+'
                      || d == '-'))
                    break;
                ++p_;
                token_ = Token::Float;
            }
        } else {
            ++p_;
            token_ = Token::Char;
        }
        tokenLength_ = static_cast<std::size_t>(p_ - tokenStart_);
    }

    void readString()
    {
        string_.clear();
        for (;;) {
            if (p_ < end_ && *p_ == '\'') {
                ++p_;
                for (;;) {
                    const char* run = p_;
                    while (p_ < end_ && *p_ != '\'' && *p_ != '\r' && *p_ != '\n')
                        ++p_;
                    string_.append(run, static_cast<std::size_t>(p_ - run));
                    if (p_ == end_ || *p_ != '\'')
                        fail(FormError::Kind::InvalidString, "invalid string constant (unterminated string)");
                    ++p_;
                    if (p_ < end_ && *p_ == '\'') {
                        string_ += '\'';
                        ++p_;
                    } else {
                        break;
                    }
                }
            } else if (p_ < end_ && *p_ == '#') {
                ++p_;
                if (p_ == end_ || !isDigit(static_cast<unsigned char>(*p_)))
                    fail(FormError::Kind::InvalidString, "invalid string constant (digits expected after #)");
                unsigned code = 0;
                while (p_ < end_ && isDigit(static_cast<unsigned char>(*p_)))
                    code = (code * 10 + static_cast<unsigned>(*p_++ - '0')) & 0xFF;
                string_ += static_cast<char>(code);
            } else {
                return;
            }
        }
    }

    std::string_view tokenText() const { return {tokenStart_, tokenLength_}; }

    bool isChar(char c) const { return token_ == Token::Char && *tokenStart_ == c; }

    bool isSymbol(std::string_view word) const
    {
        return token_ == Token::Symbol && equalsNoCase(tokenText(), word);
    }

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

    std::int32_t integerValue()
    {
        if (token_ != Token::Integer)
            expected("integer");
        const std::string_view t = tokenText();
        std::int64_t v = 0;
        if (t[0] == '$') {
            if (t.size() < 2)
                fail(FormError::Kind::InvalidNumber, "invalid numeric value " + describeToken());
            for (std::size_t i = 1; i < t.size(); ++i) {
                v = v * 16 + hexValue(static_cast<unsigned char>(t[i]));
                if (v > 0xFFFFFFFFLL)
                    fail(FormError::Kind::InvalidNumber, "invalid numeric value " + describeToken());
            }
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        }
        const bool negative = t[0] == '-';
        const std::size_t first = negative ? 1 : 0;
        if (t.size() == first)
            fail(FormError::Kind::InvalidNumber, "invalid numeric value " + describeToken());
        for (std::size_t i = first; i < t.size(); ++i) {
            v = v * 10 + (t[i] - '0');
            if (v > 0x80000000LL)
                fail(FormError::Kind::InvalidNumber, "invalid numeric value " + describeToken());
        }
        if (negative)
            v = -v;
        if (v > 0x7FFFFFFFLL)
            fail(FormError::Kind::InvalidNumber, "invalid numeric value " + describeToken());
        return static_cast<std::int32_t>(v);
    }

    // ---- output ----

    void writeShortString(std::string_view s, long line)
    {
        if (s.size() > 255) {
            tokenLine_ = line;
            fail(FormError::Kind::NameTooLong, "name longer than 255 characters");
        }
        out_ += static_cast<char>(s.size());
        out_ += s;
    }

    void writeU32(std::uint32_t v)
    {
        const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
        out_.append(b, 4);
    }

    void writeInteger(std::int32_t v)
    {
        if (v >= -128 && v <= 127) {
            out_ += static_cast<char>(vaInt8);
            out_ += static_cast<char>(v);
        } else if (v >= -32768 && v <= 32767) {
            out_ += static_cast<char>(vaInt16);
            out_ += static_cast<char>(v);
            out_ += static_cast<char>(v >> 8);
        } else {
            out_ += static_cast<char>(vaInt32);
            writeU32(static_cast<std::uint32_t>(v));
        }
    }

    // "[" integer "]" as an integer value, the current token being "[".
    void convertIndex()
    {
        next();
        writeInteger(integerValue());
        next();
        checkChar(']');
        next();
    }

    void checkDepth(int depth)
    {
        if (depth > kMaxDepth)
            fail(FormError::Kind::TooDeep, "objects or values nested too deeply");
    }

    // ---- grammar ----

    void convertObject(int depth)
    {
        checkDepth(depth);
        std::uint8_t flags = 0;
        if (isSymbol("inherited"))
            flags |= kFlagInherited;
        else if (!isSymbol("object"))
            expected("'object'");
        next();
        checkSymbol();
        const long headerLine = tokenLine_;
        std::string_view name;
        std::string_view className = tokenText();
        next();
        if (isChar(':')) {
            next();
            checkSymbol();
            name = className;
            className = tokenText();
            next();
        }
        if (isChar('[')) {
            flags |= kFlagChildPos;
            out_ += static_cast<char>(0xF0 | flags);
            convertIndex();
        } else if (flags) {
            out_ += static_cast<char>(0xF0 | flags);
        } else if (className.size() >= 0xF0) {
            // A length byte of 0xF0 or more would read back as a prefix byte:
            // such a class name gets an empty prefix before it.
            out_ += static_cast<char>(0xF0);
        }
        writeShortString(className, headerLine);
        writeShortString(name, headerLine);

        while (!(isSymbol("end") || isSymbol("object") || isSymbol("inherited")))
            convertProperty(depth);
        out_ += '\0';
        while (!isSymbol("end"))
            convertObject(depth + 1);
        out_ += '\0';
        next();
    }

    void convertProperty(int depth)
    {
        if (token_ != Token::Symbol)
            expected(token_ == Token::Eof ? "'end'" : "identifier");
        readDottedName();
        writeShortString(dotted_, dottedLine_);
        checkChar('=');
        next();
        convertValue(depth + 1);
    }

    // symbol ("." symbol)* joined into dotted_; leaves the next token current.
    void readDottedName()
    {
        dottedLine_ = tokenLine_;
        dotted_.assign(tokenStart_, tokenLength_);
        next();
        while (isChar('.')) {
            next();
            checkSymbol();
            dotted_ += '.';
            dotted_ += tokenText();
            next();
        }
    }

    void convertValue(int depth)
    {
        checkDepth(depth);
        switch (token_) {
        case Token::Integer:
            writeInteger(integerValue());
            next();
            return;
        case Token::Float: {
            unsigned char bytes[10];
            const DecimalResult r = textToExtended(tokenText(), bytes);
            if (r != DecimalResult::Ok)
                fail(FormError::Kind::InvalidNumber,
                     "invalid numeric value " + describeToken()
                         + (r == DecimalResult::OutOfRange ? " (out of range)" : ""));
            out_ += static_cast<char>(vaExtended);
            out_.append(reinterpret_cast<const char*>(bytes), 10);
            next();
            return;
        }
        case Token::String:
            if (string_.size() <= 255) {
                out_ += static_cast<char>(vaString);
                out_ += static_cast<char>(string_.size());
            } else {
                if (string_.size() > 0xFFFFFFFFu)
                    fail(FormError::Kind::InvalidString, "string too long");
                out_ += static_cast<char>(vaLString);
                writeU32(static_cast<std::uint32_t>(string_.size()));
            }
            out_ += string_;
            next();
            return;
        case Token::Symbol:
            readDottedName();
            if (equalsNoCase(dotted_, "False")) {
                out_ += static_cast<char>(vaFalse);
            } else if (equalsNoCase(dotted_, "True")) {
                out_ += static_cast<char>(vaTrue);
            } else if (equalsNoCase(dotted_, "nil")) {
                out_ += static_cast<char>(vaNil);
            } else {
                out_ += static_cast<char>(vaIdent);
                writeShortString(dotted_, dottedLine_);
            }
            return;
        case Token::Char:
            break;
        case Token::Eof:
            fail(FormError::Kind::InvalidPropertyValue, "invalid property value (found end of text)");
        }
        switch (*tokenStart_) {
        case '[':
            next();
            out_ += static_cast<char>(vaSet);
            if (!isChar(']')) {
                for (;;) {
                    checkSymbol();
                    writeShortString(tokenText(), tokenLine_);
                    next();
                    if (isChar(']'))
                        break;
                    checkChar(',');
                    next();
                }
            }
            out_ += '\0';
            next();
            return;
        case '(':
            next();
            out_ += static_cast<char>(vaList);
            while (!isChar(')')) {
                if (token_ == Token::Eof)
                    expected("')'");
                convertValue(depth + 1);
            }
            out_ += '\0';
            next();
            return;
        case '{':
            convertBinary();
            next();
            return;
        case '<':
            next();
            out_ += static_cast<char>(vaCollection);
            while (!isChar('>')) {
                if (!isSymbol("item"))
                    expected("'item'");
                next();
                if (isChar('['))
                    convertIndex();
                out_ += static_cast<char>(vaList);
                while (!isSymbol("end"))
                    convertProperty(depth);
                out_ += '\0';
                next();
            }
            out_ += '\0';
            next();
            return;
        default:
            fail(FormError::Kind::InvalidPropertyValue, "invalid property value (found " + describeToken() + ")");
        }
    }

    // The hexadecimal digits after "{" up to "}"; leaves p_ after "}".
    void convertBinary()
    {
        out_ += static_cast<char>(vaBinary);
        const std::size_t lengthAt = out_.size();
        writeU32(0);
        int high = -1;
        for (;;) {
            if (p_ == end_) {
                tokenLine_ = line_;
                fail(FormError::Kind::Expected, "'}' expected (found end of text)", "'}'");
            }
            const auto c = static_cast<unsigned char>(*p_);
            if (c == '}')
                break;
            ++p_;
            if (c >= 1 && c <= 32) {
                if (c == '\n')
                    ++line_;
                continue;
            }
            const int v = hexValue(c);
            if (v < 0) {
                tokenLine_ = line_;
                fail(FormError::Kind::InvalidBinary, "invalid binary value (not a hexadecimal digit)");
            }
            if (high < 0) {
                high = v;
            } else {
                out_ += static_cast<char>(high << 4 | v);
                high = -1;
            }
        }
        if (high >= 0) {
            tokenLine_ = line_;
            fail(FormError::Kind::InvalidBinary, "invalid binary value (odd number of hexadecimal digits)");
        }
        ++p_;
        const std::size_t length = out_.size() - lengthAt - 4;
        if (length > 0xFFFFFFFFu)
            fail(FormError::Kind::InvalidBinary, "binary value too long");
        for (int i = 0; i < 4; ++i)
            out_[lengthAt + static_cast<std::size_t>(i)] = static_cast<char>(length >> (8 * i));
    }

    const char* p_;
    const char* const end_;
    std::string& out_;
    long line_ = 1;
    long tokenLine_ = 1;
    Token token_ = Token::Eof;
    const char* tokenStart_ = nullptr;
    std::size_t tokenLength_ = 0;
    std::string string_;   // the decoded value of a string token
    std::string dotted_;   // a dotted name being joined
    long dottedLine_ = 1;  // the line where it starts
};

} // namespace

void TextToBinary(std::string_view input, std::string& output)
{
    TextReader(input, output).run();
}

} // namespace lingrove::formfile
