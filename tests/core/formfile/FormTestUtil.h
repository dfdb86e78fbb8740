#pragma once
// Builders for form data and the checks the form file tests share.
#include "core/formfile/FormFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace formtest {

using lingrove::formfile::FormError;
using Kind = FormError::Kind;

inline std::string shortStr(const std::string& s)
{
    return std::string(1, static_cast<char>(s.size())) + s;
}

inline std::string u32(std::uint64_t v)
{
    std::string b;
    for (int i = 0; i < 4; ++i)
        b += static_cast<char>(v >> (8 * i));
    return b;
}

inline std::string u64(std::uint64_t v) { return u32(v) + u32(v >> 32); }

inline std::string byte(int b) { return std::string(1, static_cast<char>(b)); }

// Wide string values: UTF-8 bytes, or UTF-16 little-endian code units.
inline std::string utf8(const std::string& s) { return byte(20) + u32(s.size()) + s; }
inline std::string utf16(const std::string& le) { return byte(18) + u32(le.size() / 2) + le; }
inline std::string utf16(const std::u16string& s)
{
    std::string le;
    for (char16_t c : s)
        le += byte(c & 0xFF) + byte(c >> 8);
    return utf16(le);
}

const std::string kBom = "\xEF\xBB\xBF";

// Form data with a root "Form1: TForm1" holding the given property records
// (name + value each) and the given child records.
inline std::string form(const std::string& properties, const std::string& children = {})
{
    return "TPF0" + shortStr("TForm1") + shortStr("Form1") + properties + byte(0) + children + byte(0);
}

inline std::string prop(const std::string& name, const std::string& value) { return shortStr(name) + value; }

// Form data inside the resource header Delphi writes for a form TForm1.
inline std::string resource(const std::string& data)
{
    return std::string("\xFF\x0A\x00TFORM1\x00\x30\x10", 12) + u32(data.size()) + data;
}

inline std::string toText(const std::string& binary)
{
    std::string out;
    lingrove::formfile::BinaryToText(binary, out);
    return out;
}

inline std::string toBinary(const std::string& text)
{
    std::string out;
    lingrove::formfile::TextToBinary(text, out);
    return out;
}

// The text of a root form "Form1: TForm1" with the given property lines
// (each already indented and ended by CR LF).
inline std::string formText(const std::string& lines)
{
    return "object Form1: TForm1\r\n" + lines + "end\r\n";
}

// The error that convert() throws.
template <typename F>
FormError errorOf(F&& convert)
{
    try {
        convert();
    } catch (const FormError& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return FormError(Kind::Io, "", 0, -1);
}

inline FormError textError(const std::string& text)
{
    return errorOf([&] { toBinary(text); });
}

inline FormError binaryError(const std::string& binary)
{
    return errorOf([&] { toText(binary); });
}

// One property written to text must give exactly the expected line, and that
// text must convert back into the same bytes.
inline void expectProperty(const std::string& value, const std::string& expectedLine)
{
    const std::string binary = form(prop("P", value));
    const std::string text = toText(binary);
    EXPECT_EQ(text, formText("  P = " + expectedLine + "\r\n"));
    EXPECT_EQ(toBinary(text), binary) << text;
}

// The value bytes of the single property P of a text form (with prefix
// before "object", e.g. a byte-order mark).
inline std::string valueOf(const std::string& valueText, const std::string& prefix = {})
{
    const std::string binary = toBinary(prefix + formText("  P = " + valueText + "\r\n"));
    const std::string head = "TPF0" + shortStr("TForm1") + shortStr("Form1") + shortStr("P");
    EXPECT_EQ(binary.substr(0, head.size()), head);
    EXPECT_EQ(binary.substr(binary.size() - 2), std::string(2, '\0'));
    return binary.substr(head.size(), binary.size() - head.size() - 2);
}

} // namespace formtest
