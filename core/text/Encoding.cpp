#include "core/text/Encoding.h"

namespace lingrove::text {

namespace {

constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char16_t fromWindows1252(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : static_cast<char16_t>(byte);
}

int toWindows1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c)
            return 0x80 + i;
    return -1;
}

bool hasUtf8ByteOrderMark(std::string_view data)
{
    return data.size() >= 3 && data.substr(0, 3) == "\xEF\xBB\xBF";
}

long decodeUtf8(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char b = *p;
    if (b < 0x80) {
        ++p;
        return b;
    }
    int n;
    char32_t c;
    char32_t min;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 1, c = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 2, c = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 3, c = b & 0x07, min = 0x10000;
    } else {
        ++p;
        return -1;
    }
    if (end - p <= n) {
        ++p;
        return -1;
    }
    for (int i = 1; i <= n; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            ++p;
            return -1;
        }
        c = (c << 6) | (p[i] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++p;
        return -1;
    }
    p += n + 1;
    return static_cast<long>(c);
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool isValidUtf8(std::string_view bytes)
{
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        if (decodeUtf8(p, end) < 0)
            return false;
    }
    return true;
}

bool unitsToUtf8(std::u16string_view units, std::string& out)
{
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t u = units[i];
        if (isHighSurrogate(u) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (isHighSurrogate(u) || isLowSurrogate(u)) {
            return false;
        } else {
            appendUtf8(out, u);
        }
    }
    return true;
}

bool utf8ToUnits(std::string_view bytes, std::u16string& out)
{
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto end = p + bytes.size();
    while (p < end) {
        const long c = decodeUtf8(p, end);
        if (c < 0)
            return false;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return true;
}

std::u16string unitsFromLE(std::string_view bytes)
{
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i])
                                         | (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return units;
}

void appendLE(std::string& out, std::u16string_view units)
{
    for (char16_t u : units) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
}

} // namespace lingrove::text
