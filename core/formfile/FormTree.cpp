// Binary form data -> tree of components.
#include "core/formfile/FormTree.h"
#include "core/text/Encoding.h"
#include "core/formfile/Internal.h"

#include <cmath>
#include <cstring>

namespace lingrove::formfile {

using namespace detail;

namespace {

class TreeReader : private ByteCursor {
public:
    TreeReader(std::string_view input, long long base) : ByteCursor(input, base) {}

    FormComponent run()
    {
        signature();
        FormComponent root;
        readComponent(root, 0);
        return root;
    }

private:
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
        const ComponentPrefix prefix = componentPrefix(false);
        c.inherited = (prefix.flags & kFlagInherited) != 0;
        c.hasChildPosition = prefix.hasPosition;
        c.childPosition = prefix.position;
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
                std::string element(shortString());
                if (element.empty())
                    break;
                v.elements.push_back(std::move(element));
            }
            break;
        case vaInt64: {
            const auto n = static_cast<std::int64_t>(u64());
            if (n >= INT32_MIN && n <= INT32_MAX) {
                v.type = FormValue::Type::Integer;
                v.integer = static_cast<std::int32_t>(n);
            } else {
                v.type = FormValue::Type::Float;
                v.number = static_cast<double>(n);
            }
            break;
        }
        case vaSingle: {
            const std::uint32_t bits = u32();
            float f;
            std::memcpy(&f, &bits, 4);
            v.type = FormValue::Type::Float;
            v.number = f;
            break;
        }
        case vaDate:
        case vaDouble:
        case vaCurrency: {
            const std::uint64_t bits = u64();
            v.type = FormValue::Type::Float;
            if (type == vaCurrency) {
                v.number = static_cast<double>(static_cast<std::int64_t>(bits)) / 10000.0;
            } else {
                std::memcpy(&v.number, &bits, 8);
            }
            break;
        }
        case vaWString:
        case vaUTF8String: {
            std::u16string units;
            if (type == vaWString) {
                units = text::unitsFromLE(bytes(static_cast<std::size_t>(u32()) * 2));
            } else if (!text::utf8ToUnits(bytes(u32()), units)) {
                fail(FormError::Kind::InvalidCharacter, "UTF-8 string value is not valid UTF-8", at);
            }
            v.type = FormValue::Type::String;
            // Windows-1252 as the 8-bit strings are, while every character fits.
            for (char16_t u : units) {
                const int b = text::toWindows1252(u);
                if (b < 0) {
                    v.text.clear();
                    text::unitsToUtf8(units, v.text);
                    v.utf8 = true;
                    break;
                }
                v.text += static_cast<char>(b);
            }
            break;
        }
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

};

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
    return equalsNoCase(a, b);
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
    const std::size_t i = skipResourceHeader(file);
    return TreeReader(file.substr(i), static_cast<long long>(i)).run();
}

} // namespace lingrove::formfile
