#pragma once
// A binary form file read into a tree of components, for code that needs the
// form's structure rather than its text: each component with its class, name,
// flags, typed property values and children.
//
// 8-bit strings stay bytes exactly as stored; the caller decides how to
// decode them. Wide strings (UTF-16, UTF-8) come as Windows-1252 bytes when
// every character has one, otherwise as UTF-8 with FormValue::utf8 set.
// Single, Double, Date, Currency and Int64 beyond 32 bits are Float. Malformed input raises FormError (FormFile.h) with the byte
// offset of the fault within the given input.
#include "core/formfile/FormFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lingrove::formfile {

struct FormItem;

// One property value. Which members hold the value depends on type.
struct FormValue {
    enum class Type {
        List,        // items
        Integer,     // integer
        Float,       // number
        String,      // text (8-bit bytes; short and long strings alike)
        Identifier,  // text
        Boolean,     // boolean
        Binary,      // text (raw bytes)
        Set,         // elements
        Nil,
        Collection,  // collection
    };

    Type type = Type::Nil;
    std::int32_t integer = 0;
    double number = 0;
    bool boolean = false;
    std::string text;
    bool utf8 = false;   // text holds UTF-8 (a wide string that Windows-1252 cannot hold)
    std::vector<std::string> elements;
    std::vector<FormValue> items;
    std::vector<FormItem> collection;

    bool isInteger() const { return type == Type::Integer; }
    bool isString() const { return type == Type::String; }
    bool isIdentifier() const { return type == Type::Identifier; }
    bool isBoolean() const { return type == Type::Boolean; }
};

struct FormProperty {
    std::string name;   // may contain dots: "Font.Name", "Items.Strings"
    FormValue value;
};

// One item of a collection value.
struct FormItem {
    bool hasIndex = false;
    std::int32_t index = 0;
    std::vector<FormProperty> properties;

    // The value of the named property (exact spelling first, then without
    // regard to ASCII case), or nullptr.
    const FormValue* find(std::string_view name) const;
};

struct FormComponent {
    std::string className;
    std::string name;             // may be empty
    bool inherited = false;
    bool hasChildPosition = false;
    std::int32_t childPosition = 0;
    std::vector<FormProperty> properties;
    std::vector<FormComponent> children;

    // The value of the named property (exact spelling first, then without
    // regard to ASCII case, as Pascal names compare), or nullptr.
    const FormValue* find(std::string_view name) const;
    // Typed look-ups with a fallback when the property is absent or of
    // another type.
    std::int32_t integer(std::string_view name, std::int32_t fallback = 0) const;
    bool boolean(std::string_view name, bool fallback = false) const;
    // A string or identifier value as stored (8-bit bytes).
    std::string text(std::string_view name, const std::string& fallback = {}) const;
    // The strings of a list value (Items.Strings, Lines.Strings); empty when absent.
    std::vector<std::string> strings(std::string_view name) const;
};

// Binary form data from the "TPF0" signature on.
FormComponent readFormData(std::string_view data);
// A whole binary form file: resource header, then the form data. Error
// offsets count from the start of the file.
FormComponent readFormFile(std::string_view file);

// Pascal identifiers compare without regard to ASCII letter case.
bool sameIdentifier(std::string_view a, std::string_view b);

} // namespace lingrove::formfile
