#pragma once
// Builders for binary form data in the tests.
#include "core/formfile/FormFile.h"

#include <cstdint>
#include <string>

namespace formtest {

inline std::string shortStr(const std::string& s)
{
    return std::string(1, static_cast<char>(s.size())) + s;
}

inline std::string u32(std::uint32_t v)
{
    std::string b;
    for (int i = 0; i < 4; ++i)
        b += static_cast<char>(v >> (8 * i));
    return b;
}

inline std::string byte(int b) { return std::string(1, static_cast<char>(b)); }

// Form data with a root "Form1: TForm1" holding the given property records
// (name + value each) and the given child records.
inline std::string form(const std::string& properties, const std::string& children = {})
{
    return "TPF0" + shortStr("TForm1") + shortStr("Form1") + properties + byte(0) + children + byte(0);
}

inline std::string prop(const std::string& name, const std::string& value) { return shortStr(name) + value; }

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

} // namespace formtest
