// Events -> binary layout, events -> text form.
#include "core/text/Encoding.h"
#include "core/formfile/Events.h"
#include "core/formfile/Extended.h"

#include <charconv>
#include <cstring>

namespace lingrove::formfile::detail {

namespace {

void appendInt(std::string& out, long long v)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void appendU32(std::string& out, std::uint32_t v)
{
    const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
    out.append(b, 4);
}

std::uint64_t loadLE(std::string_view b)
{
    std::uint64_t v = 0;
    for (std::size_t i = b.size(); i-- > 0;)
        v = (v << 8) | static_cast<unsigned char>(b[i]);
    return v;
}

// The smallest integer type that holds v.
std::uint8_t minimalIntType(std::int64_t v)
{
    if (v >= -128 && v <= 127)
        return vaInt8;
    if (v >= -32768 && v <= 32767)
        return vaInt16;
    if (v >= INT32_MIN && v <= INT32_MAX)
        return vaInt32;
    return vaInt64;
}

[[noreturn]] void noText(std::size_t at, const std::string& what)
{
    throw FormError(FormError::Kind::NotFinite, "byte offset " + std::to_string(at) + ": " + what, 0,
                    static_cast<long long>(at));
}

bool identifierChar(unsigned char c, bool first)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80 || (!first && c >= '0' && c <= '9');
}

// A name the text form can hold: identifiers joined by dots; unless keywords
// is set (a property name starts a line), not a word that would end or start
// an object there.
bool textName(std::string_view s, bool dotted, bool keywords)
{
    std::size_t start = 0;
    for (;;) {
        std::size_t end = dotted ? s.find('.', start) : std::string_view::npos;
        if (end == std::string_view::npos)
            end = s.size();
        const std::string_view part = s.substr(start, end - start);
        if (part.empty() || !identifierChar(static_cast<unsigned char>(part[0]), true))
            return false;
        for (const char c : part)
            if (!identifierChar(static_cast<unsigned char>(c), false))
                return false;
        if (start == 0 && !keywords)
            for (const char* word : {"end", "object", "inherited", "inline"})
                if (equalsNoCase(part, word))
                    return false;
        if (end == s.size())
            return true;
        start = end + 1;
    }
}

void checkName(std::string_view name, bool dotted, std::size_t at, bool keywords = false)
{
    if (!textName(name, dotted, keywords))
        throw FormError(FormError::Kind::InvalidComponent,
                        "byte offset " + std::to_string(at) + ": '" + std::string(name.substr(0, 64))
                            + "' is no name the text form can hold",
                        0, static_cast<long long>(at));
}

// A string value as quoted runs and #nnn codes.
class StringText {
public:
    StringText(std::string& out, bool doubleQuotes) : out_(out), doubleQuotes_(doubleQuotes), mark_(out.size()) {}

    void literal(std::string_view encoded)
    {
        open();
        out_ += encoded;
    }
    void literal(char c)
    {
        open();
        out_ += c;
    }
    void apostrophe()
    {
        if (doubleQuotes_) {
            open();
            out_ += "''";
        } else {
            code(39);
        }
    }
    void code(unsigned n)
    {
        if (quoted_) {
            out_ += '\'';
            quoted_ = false;
        }
        out_ += '#';
        appendInt(out_, n);
    }
    void finish()
    {
        if (quoted_)
            out_ += '\'';
        else if (out_.size() == mark_)
            out_ += "''";
    }

private:
    void open()
    {
        if (!quoted_) {
            out_ += '\'';
            quoted_ = true;
        }
    }
    std::string& out_;
    bool doubleQuotes_;
    std::size_t mark_;
    bool quoted_ = false;
};

// The type the text reader gives a string written without a cast.
std::uint8_t plainType(bool wide, std::u16string_view units, std::size_t byteLength)
{
    if (wide)
        return wideTypeFor(units);
    return byteLength <= 255 ? vaString : vaLString;
}

void writeString(std::string& out, const Scalar& v, TextStyle style, std::size_t at)
{
    const bool page = style != TextStyle::Delphi;
    const std::size_t mark = out.size();
    std::uint8_t readsAs;
    StringText text(out, page);
    if (isByteString(v.type)) {
        bool wide = false; // whether the reader would take the text as a wide string
        const bool utf8 = style == TextStyle::PageUtf8;
        const char* p = v.bytes.data();
        const char* const end = p + v.bytes.size();
        while (p < end) {
            const char* run = p;
            while (p < end) {
                const auto b = static_cast<unsigned char>(*p);
                if (b < 32 || b == '\'' || (utf8 && b >= 0x80))
                    break;
                ++p;
            }
            if (p > run)
                text.literal(std::string_view(run, static_cast<std::size_t>(p - run)));
            if (p == end)
                break;
            const auto b = static_cast<unsigned char>(*p++);
            if (b == '\'') {
                text.apostrophe();
            } else if (b < 32) {
                text.code(b);
            } else {
                const char16_t c = text::fromWindows1252(b);
                if (c < 0xA0) {
                    text.code(b);
                } else {
                    char u[4];
                    std::string s;
                    text::appendUtf8(s, c);
                    std::memcpy(u, s.data(), s.size());
                    text.literal(std::string_view(u, s.size()));
                }
                wide = true;
            }
        }
        text.finish();
        readsAs = wide ? std::uint8_t{vaWString} : plainType(false, {}, v.bytes.size());
    } else {
        std::u16string units;
        if (v.type == vaWString)
            units = text::unitsFromLE(v.bytes);
        else if (!text::utf8ToUnits(v.bytes, units))
            noText(at, "UTF-8 string value is not valid UTF-8");
        bool wide = false;
        std::string s;
        for (std::size_t i = 0; i < units.size(); ++i) {
            const char16_t u = units[i];
            if (u > 127)
                wide = true;
            if (u == '\'') {
                text.apostrophe();
            } else if (u < 32 || (u > 127 && style != TextStyle::PageUtf8)) {
                text.code(u);
            } else if (u < 128) {
                text.literal(static_cast<char>(u));
            } else if (u < 0xA0) {
                text.code(u);
            } else if (text::isHighSurrogate(u) && i + 1 < units.size() && text::isLowSurrogate(units[i + 1])) {
                s.clear();
                text::appendUtf8(s, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
                text.literal(s);
                ++i;
            } else if (text::isHighSurrogate(u) || text::isLowSurrogate(u)) {
                text.code(u);
            } else {
                s.clear();
                text::appendUtf8(s, u);
                text.literal(s);
            }
        }
        text.finish();
        readsAs = plainType(wide, units, units.size());
    }
    if (readsAs != v.type) {
        out.insert(mark, std::string(castName(v.type)) + "(");
        out += ')';
    }
}

void writeBinary(std::string& out, std::string_view data, int level, std::string_view eol)
{
    static const char digits[] = "0123456789ABCDEF";
    out += '{';
    const bool multiLine = data.size() >= 32;
    for (std::size_t i = 0; i < data.size(); i += 32) {
        if (multiLine) {
            out += eol;
            out.append(static_cast<std::size_t>(level + 1) * 2, ' ');
        }
        const std::size_t chunk = std::min<std::size_t>(32, data.size() - i);
        const std::size_t o = out.size();
        out.resize(o + chunk * 2);
        for (std::size_t k = 0; k < chunk; ++k) {
            const auto b = static_cast<unsigned char>(data[i + k]);
            out[o + 2 * k] = digits[b >> 4];
            out[o + 2 * k + 1] = digits[b & 15];
        }
    }
    out += '}';
}

} // namespace

std::uint8_t wideTypeFor(std::u16string_view units)
{
    std::size_t utf8 = 0;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (text::isHighSurrogate(u) && i + 1 < units.size() && text::isLowSurrogate(units[i + 1])) {
            utf8 += 4;
            ++i;
        } else if (text::isHighSurrogate(u) || text::isLowSurrogate(u)) {
            return vaWString;
        } else {
            utf8 += u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
        }
    }
    return utf8 < units.size() * 2 ? vaUTF8String : vaWString;
}

std::u16string unitsOf(const Scalar& v)
{
    std::u16string units;
    if (isByteString(v.type)) {
        units.reserve(v.bytes.size());
        for (const char c : v.bytes)
            units += text::fromWindows1252(static_cast<unsigned char>(c));
    } else if (v.type == vaWString) {
        units = text::unitsFromLE(v.bytes);
    } else if (v.type == vaUTF8String) {
        text::utf8ToUnits(v.bytes, units);
    }
    return units;
}

const char* castName(std::uint8_t type)
{
    switch (type) {
    case vaString: return "String";
    case vaLString: return "LString";
    case vaWString: return "WString";
    case vaUTF8String: return "UTF8String";
    case vaInt16: return "Int16";
    case vaInt32: return "Int32";
    case vaInt64: return "Int64";
    case vaDouble: return "Double";
    default: return nullptr;
    }
}

// ---- binary ----

void BinaryEmitter::shortString(std::string_view s)
{
    out_ += static_cast<char>(s.size());
    out_ += s;
}

void BinaryEmitter::object(const ObjectHeader& h, const Origin&)
{
    if (h.flags) {
        out_ += static_cast<char>(0xF0 | h.flags);
        if (h.flags & kFlagChildPos)
            scalar(out_, h.position);
    } else if (h.className.size() >= 0xF0) {
        // A length byte of 0xF0 or more would read back as a prefix byte:
        // such a class name gets an empty prefix before it.
        out_ += static_cast<char>(0xF0);
    }
    shortString(h.className);
    shortString(h.name);
}

void BinaryEmitter::scalar(std::string& out, const Scalar& v)
{
    out += static_cast<char>(v.type);
    switch (v.type) {
    case vaInt8:
        out += static_cast<char>(v.integer);
        break;
    case vaInt16:
        out += static_cast<char>(v.integer);
        out += static_cast<char>(v.integer >> 8);
        break;
    case vaInt32:
        appendU32(out, static_cast<std::uint32_t>(v.integer));
        break;
    case vaInt64:
        appendU32(out, static_cast<std::uint32_t>(v.integer));
        appendU32(out, static_cast<std::uint32_t>(static_cast<std::uint64_t>(v.integer) >> 32));
        break;
    case vaString:
    case vaIdent:
        out += static_cast<char>(v.bytes.size());
        out += v.bytes;
        break;
    case vaLString:
    case vaUTF8String:
    case vaBinary:
        appendU32(out, static_cast<std::uint32_t>(v.bytes.size()));
        out += v.bytes;
        break;
    case vaWString:
        appendU32(out, static_cast<std::uint32_t>(v.bytes.size() / 2));
        out += v.bytes;
        break;
    default: // floats, currency and sets hold their payload as stored
        out += v.bytes;
        break;
    }
}

// ---- text ----

void TextEmitter::scalar(std::string& out, const Scalar& v, TextStyle style, int level, std::string_view eol)
{
    scalarAt(out, v, style, level, eol, 0);
}

void TextEmitter::scalarAt(std::string& out, const Scalar& v, TextStyle style, int level, std::string_view eol,
                           std::size_t at)
{
    switch (v.type) {
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
        if (minimalIntType(v.integer) != v.type) {
            out += castName(v.type);
            out += '(';
            appendInt(out, v.integer);
            out += ')';
        } else {
            appendInt(out, v.integer);
        }
        break;
    case vaExtended:
        if (!extendedToText(reinterpret_cast<const unsigned char*>(v.bytes.data()), out))
            noText(at, "floating-point value is infinite, not a number or not normalized");
        break;
    case vaSingle:
    case vaDate:
    case vaDouble: {
        const bool single = v.type == vaSingle;
        if (v.type == vaDouble)
            out += "Double(";
        if (!ieeeToText(loadLE(v.bytes), single ? 23 : 52, single ? 8 : 11, out))
            noText(at, "floating-point value is infinite or not a number");
        out += v.type == vaSingle ? "s" : v.type == vaDate ? "d" : ")";
        break;
    }
    case vaCurrency:
        appendInt(out, static_cast<std::int64_t>(loadLE(v.bytes)));
        out += 'c';
        break;
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String:
        writeString(out, v, style, at);
        break;
    case vaIdent:
        checkName(v.bytes, true, at, true);
        for (const char* word : {"True", "False", "nil"})
            if (equalsNoCase(v.bytes, word))
                checkName({}, false, at);
        out += v.bytes;
        break;
    case vaFalse:
        out += "False";
        break;
    case vaTrue:
        out += "True";
        break;
    case vaNil:
        out += "nil";
        break;
    case vaBinary:
        writeBinary(out, v.bytes, level, eol);
        break;
    case vaSet: {
        out += '[';
        std::size_t i = 0;
        bool first = true;
        while (i < v.bytes.size()) {
            const std::size_t n = static_cast<unsigned char>(v.bytes[i]);
            if (n == 0)
                break;
            if (!first)
                out += ", ";
            checkName(v.bytes.substr(i + 1, n), false, at, true);
            out += v.bytes.substr(i + 1, n);
            first = false;
            i += n + 1;
        }
        out += ']';
        break;
    }
    default:
        noText(at, "unknown value type " + std::to_string(v.type));
    }
}

void TextEmitter::object(const ObjectHeader& h, const Origin& at)
{
    // After "inherited" an unnamed class "inline" would read as the inline flag.
    checkName(h.className, false, at.start,
              !(h.name.empty() && (h.flags & kFlagInherited) && equalsNoCase(h.className, "inline")));
    if (!h.name.empty())
        checkName(h.name, false, at.start, true);
    const int level = stack_.empty() ? 0 : stack_.back().level + 1;
    indent(level);
    if (h.flags & kFlagInherited)
        out_ += (h.flags & kFlagInline) ? "inherited inline " : "inherited ";
    else
        out_ += (h.flags & kFlagInline) ? "inline " : "object ";
    if (!h.name.empty()) {
        out_ += h.name;
        out_ += ": ";
    }
    out_ += h.className;
    if (h.flags & kFlagChildPos) {
        out_ += " [";
        scalar(out_, h.position, style_, level);
        out_ += ']';
    }
    out_ += "\r\n";
    stack_.push_back({Frame::Object, level});
}

void TextEmitter::property(std::string_view name, const Origin& at)
{
    checkName(name, true, at.start);
    const Frame& top = stack_.back();
    valueLevel_ = top.kind == Frame::Object ? top.level + 1 : top.level;
    indent(valueLevel_);
    out_ += name;
    out_ += " = ";
}

void TextEmitter::startValue()
{
    const Frame& top = stack_.back();
    if (top.kind == Frame::List) {
        valueLevel_ = top.level + 1;
        out_ += "\r\n";
        indent(valueLevel_);
    }
}

void TextEmitter::finishValue()
{
    if (stack_.back().kind != Frame::List)
        out_ += "\r\n";
}

void TextEmitter::value(const Scalar& v, const Origin& at)
{
    startValue();
    scalarAt(out_, v, style_, valueLevel_, "\r\n", at.start);
    finishValue();
}

void TextEmitter::beginList(const Origin&)
{
    startValue();
    out_ += '(';
    stack_.push_back({Frame::List, valueLevel_});
}

void TextEmitter::endList()
{
    out_ += ')';
    stack_.pop_back();
    valueLevel_ = stack_.back().kind == Frame::List ? stack_.back().level + 1 : valueLevel_;
    finishValue();
}

void TextEmitter::beginCollection(const Origin&)
{
    startValue();
    out_ += '<';
    stack_.push_back({Frame::Collection, valueLevel_});
}

void TextEmitter::item(const Scalar& index, const Origin&)
{
    const int level = stack_.back().level;
    out_ += "\r\n";
    indent(level + 1);
    out_ += "item";
    if (index.type != vaNull) {
        out_ += " [";
        scalar(out_, index, style_, level + 1);
        out_ += ']';
    }
    out_ += "\r\n";
    stack_.push_back({Frame::Item, level + 2});
}

void TextEmitter::endItem()
{
    stack_.pop_back();
    indent(stack_.back().level + 1);
    out_ += "end";
}

void TextEmitter::endCollection()
{
    out_ += '>';
    stack_.pop_back();
    finishValue();
}

void TextEmitter::endObject()
{
    indent(stack_.back().level);
    out_ += "end\r\n";
    stack_.pop_back();
}

} // namespace lingrove::formfile::detail
