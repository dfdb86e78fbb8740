// Binary form data -> tree of components.
#include "formfile/FormTree.h"
#include "formfile/Internal.h"

#include <cmath>
#include <cstring>

namespace lingrove::formfile {

using namespace detail;

namespace {

class TreeReader {
public:
    TreeReader(std::string_view input, long long base)
        : begin_(reinterpret_cast<const unsigned char*>(input.data())), p_(begin_),
          end_(begin_ + input.size()), base_(base)
    {
    }

    FormComponent run()
    {
        need(4);
        if (std::memcmp(p_, "TPF0", 4) != 0)
            fail(FormError::Kind::InvalidStreamFormat, "invalid stream format (signature TPF0 expected)");
        p_ += 4;
        FormComponent root;
        readComponent(root, 0);
        return root;
    }

private:
    [[noreturn]] void fail(FormError::Kind kind, const std::string& what, const unsigned char* at = nullptr)
    {
        const long long offset = base_ + ((at ? at : p_) - begin_);
        throw FormError(kind, "byte offset " + std::to_string(offset) + ": " + what, 0, offset);
    }

    void need(std::size_t n)
    {
        if (static_cast<std::size_t>(end_ - p_) < n)
            fail(FormError::Kind::UnexpectedEnd,
                 "unexpected end of data (" + std::to_string(n) + " more byte(s) expected)");
    }

    std::uint8_t peek()
    {
        need(1);
        return *p_;
    }

    std::uint8_t byte()
    {
        need(1);
        return *p_++;
    }

    std::uint32_t u32()
    {
        need(4);
        const std::uint32_t v = p_[0] | (static_cast<std::uint32_t>(p_[1]) << 8)
                                | (static_cast<std::uint32_t>(p_[2]) << 16)
                                | (static_cast<std::uint32_t>(p_[3]) << 24);
        p_ += 4;
        return v;
    }

    std::string bytes(std::size_t n)
    {
        need(n);
        std::string s(reinterpret_cast<const char*>(p_), n);
        p_ += n;
        return s;
    }

    std::string shortString() { return bytes(byte()); }

    std::int32_t intPayload(std::uint8_t type)
    {
        switch (type) {
        case vaInt8:
            return static_cast<std::int8_t>(byte());
        case vaInt16: {
            need(2);
            const auto v = static_cast<std::int16_t>(static_cast<std::uint16_t>(p_[0] | (p_[1] << 8)));
            p_ += 2;
            return v;
        }
        default:
            return static_cast<std::int32_t>(u32());
        }
    }

    // An 80-bit extended number as the nearest double.
    double extended()
    {
        need(10);
        std::uint64_t significand = 0;
        for (int i = 7; i >= 0; --i)
            significand = (significand << 8) | p_[i];
        const unsigned exponent = (p_[8] | (p_[9] << 8)) & 0x7FFF;
        const bool negative = (p_[9] & 0x80) != 0;
        if (exponent == 0x7FFF)
            fail(FormError::Kind::NotFinite, "floating-point value is infinite or not a number");
        p_ += 10;
        // Denormals have the exponent of the smallest normal number.
        const int power = (exponent == 0 ? 1 : static_cast<int>(exponent)) - 16383 - 63;
        const double value = std::ldexp(static_cast<double>(significand), power);
        return negative ? -value : value;
    }

    void checkDepth(int depth)
    {
        if (depth > kMaxDepth)
            fail(FormError::Kind::TooDeep, "components or values nested too deeply");
    }

    void readProperties(std::vector<FormProperty>& out, int depth)
    {
        while (peek() != 0) {
            FormProperty property;
            property.name = shortString();
            readValue(property.value, depth + 1);
            out.push_back(std::move(property));
        }
        ++p_;
    }

    void readComponent(FormComponent& c, int depth)
    {
        checkDepth(depth);
        if ((peek() & 0xF0) == 0xF0) {
            const unsigned char* at = p_;
            const std::uint8_t flags = byte() & 0x0F;
            if (flags & ~(kFlagInherited | kFlagChildPos))
                fail(FormError::Kind::InvalidComponent, "unsupported component flags", at);
            c.inherited = (flags & kFlagInherited) != 0;
            if (flags & kFlagChildPos) {
                const unsigned char* typeAt = p_;
                const std::uint8_t type = byte();
                if (type < vaInt8 || type > vaInt32)
                    fail(FormError::Kind::InvalidComponent,
                         "child position must be an integer (value type " + std::to_string(type) + ")", typeAt);
                c.childPosition = intPayload(type);
                c.hasChildPosition = true;
            }
        }
        c.className = shortString();
        c.name = shortString();
        readProperties(c.properties, depth);
        while (peek() != 0) {
            c.children.emplace_back();
            readComponent(c.children.back(), depth + 1);
        }
        ++p_;
    }

    void readValue(FormValue& v, int depth)
    {
        checkDepth(depth);
        const unsigned char* at = p_;
        const std::uint8_t type = byte();
        switch (type) {
        case vaList:
            v.type = FormValue::Type::List;
            while (peek() != 0) {
                v.items.emplace_back();
                readValue(v.items.back(), depth + 1);
            }
            ++p_;
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
            v.type = FormValue::Type::Integer;
            v.integer = intPayload(type);
            break;
        case vaExtended:
            v.type = FormValue::Type::Float;
            v.number = extended();
            break;
        case vaString:
            v.type = FormValue::Type::String;
            v.text = shortString();
            break;
        case vaLString:
            v.type = FormValue::Type::String;
            v.text = bytes(u32());
            break;
        case vaIdent:
            v.type = FormValue::Type::Identifier;
            v.text = shortString();
            break;
        case vaFalse:
        case vaTrue:
            v.type = FormValue::Type::Boolean;
            v.boolean = type == vaTrue;
            break;
        case vaNil:
            v.type = FormValue::Type::Nil;
            break;
        case vaBinary:
            v.type = FormValue::Type::Binary;
            v.text = bytes(u32());
            break;
        case vaSet:
            v.type = FormValue::Type::Set;
            for (;;) {
                std::string element = shortString();
                if (element.empty())
                    break;
                v.elements.push_back(std::move(element));
            }
            break;
        case vaCollection:
            v.type = FormValue::Type::Collection;
            while (peek() != 0) {
                FormItem item;
                const std::uint8_t first = peek();
                if (first >= vaInt8 && first <= vaInt32) {
                    ++p_;
                    item.hasIndex = true;
                    item.index = intPayload(first);
                }
                const unsigned char* listAt = p_;
                if (byte() != vaList)
                    fail(FormError::Kind::UnknownValueType,
                         "collection item must start with a list (value type 1) or an index", listAt);
                readProperties(item.properties, depth + 1);
                v.collection.push_back(std::move(item));
            }
            ++p_;
            break;
        default:
            fail(FormError::Kind::UnknownValueType, "unknown value type " + std::to_string(type), at);
        }
    }

    const unsigned char* const begin_;
    const unsigned char* p_;
    const unsigned char* const end_;
    const long long base_;
};

[[noreturn]] void badHeader(long long offset, const std::string& what)
{
    throw FormError(FormError::Kind::InvalidStreamFormat,
                    "byte offset " + std::to_string(offset) + ": invalid stream format (" + what + ")", 0, offset);
}

template <typename List>
const FormValue* findIn(const List& properties, std::string_view name)
{
    for (const FormProperty& p : properties)
        if (p.name == name)
            return &p.value;
    for (const FormProperty& p : properties)
        if (sameIdentifier(p.name, name))
            return &p.value;
    return nullptr;
}

} // namespace

bool sameIdentifier(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

const FormValue* FormItem::find(std::string_view name) const
{
    return findIn(properties, name);
}

const FormValue* FormComponent::find(std::string_view name) const
{
    return findIn(properties, name);
}

std::int32_t FormComponent::integer(std::string_view name, std::int32_t fallback) const
{
    const FormValue* v = find(name);
    return v && v->isInteger() ? v->integer : fallback;
}

bool FormComponent::boolean(std::string_view name, bool fallback) const
{
    const FormValue* v = find(name);
    return v && v->isBoolean() ? v->boolean : fallback;
}

std::string FormComponent::text(std::string_view name, const std::string& fallback) const
{
    const FormValue* v = find(name);
    return v && (v->isString() || v->isIdentifier()) ? v->text : fallback;
}

std::vector<std::string> FormComponent::strings(std::string_view name) const
{
    std::vector<std::string> out;
    const FormValue* v = find(name);
    if (!v || v->type != FormValue::Type::List)
        return out;
    for (const FormValue& item : v->items)
        if (item.isString() || item.isIdentifier())
            out.push_back(item.text);
    return out;
}

FormComponent readFormData(std::string_view data)
{
    return TreeReader(data, 0).run();
}

FormComponent readFormFile(std::string_view file)
{
    if (file.size() < 3 || static_cast<unsigned char>(file[0]) != 0xFF || file[1] != 0x0A || file[2] != 0x00)
        badHeader(0, "form resource header expected");
    std::size_t i = 3;
    if (i < file.size() && static_cast<unsigned char>(file[i]) == 0xFF) {
        i += 3; // the name given by number: 0xFF and 16 bits
    } else {
        const std::size_t zero = file.find('\0', i);
        if (zero == std::string_view::npos)
            badHeader(static_cast<long long>(i), "resource name not ended");
        i = zero + 1;
    }
    i += 6; // memory flags and data size
    if (i > file.size())
        badHeader(static_cast<long long>(file.size()), "resource header truncated");
    return TreeReader(file.substr(i), static_cast<long long>(i)).run();
}

} // namespace lingrove::formfile
