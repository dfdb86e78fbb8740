#pragma once
// Shared between the converters of this folder.
#include "core/formfile/FormFile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace lingrove::formfile::detail {

// Value types of the binary layout.
enum ValueType : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,      // 4-byte IEEE single
    vaCurrency = 16,    // 8-byte integer, the amount times 10000
    vaDate = 17,        // 8-byte IEEE double, days since 1899-12-30
    vaWString = 18,     // 32-bit length in UTF-16 units, then UTF-16LE
    vaInt64 = 19,       // 8 bytes, signed
    vaUTF8String = 20,  // 32-bit length in bytes, then UTF-8
    vaDouble = 21,      // 8-byte IEEE double
};
constexpr std::uint8_t kLastValueType = vaDouble;

inline bool isIntegerType(std::uint8_t t) { return (t >= vaInt8 && t <= vaInt32) || t == vaInt64; }
inline bool isByteString(std::uint8_t t) { return t == vaString || t == vaLString; }
inline bool isWideString(std::uint8_t t) { return t == vaWString || t == vaUTF8String; }
inline bool isStringType(std::uint8_t t) { return isByteString(t) || isWideString(t); }

// Component prefix flags (lower four bits of a prefix byte 0xF0..0xFF).
constexpr std::uint8_t kFlagInherited = 1;
constexpr std::uint8_t kFlagChildPos = 2;
constexpr std::uint8_t kFlagInline = 4;
constexpr std::uint8_t kKnownFlags = kFlagInherited | kFlagChildPos | kFlagInline;

// How deep components and values may nest. Real forms stay far below; the
// limit keeps malformed input from exhausting the stack.
constexpr int kMaxDepth = 400;

// Two hexadecimal digits, upper case.
inline std::string hex2(std::uint8_t b)
{
    static const char digits[] = "0123456789ABCDEF";
    return {digits[b >> 4], digits[b & 15]};
}

// Identifiers compare without regard to ASCII case.
inline bool equalsNoCase(std::string_view a, std::string_view b)
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

[[noreturn]] inline void badHeader(long long offset, const std::string& what)
{
    throw FormError(FormError::Kind::InvalidStreamFormat,
                    "byte offset " + std::to_string(offset) + ": invalid stream format (" + what + ")", 0, offset);
}

// The offset of the form data behind the resource header of a binary form
// file: 0xFF 0x0A 0x00, the resource name (0xFF and 16 bits, or a string
// ended by a zero byte), memory flags and data size.
inline std::size_t skipResourceHeader(std::string_view file)
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
    return i;
}

// A read position in binary form data. Errors name the byte offset, counted
// from base at the first byte of the data (the data may sit behind a header).
class ByteCursor {
protected:
    explicit ByteCursor(std::string_view input, long long base = 0)
        : begin_(reinterpret_cast<const unsigned char*>(input.data())), p_(begin_),
          end_(begin_ + input.size()), base_(base)
    {
    }

    [[noreturn]] void fail(FormError::Kind kind, const std::string& what, const unsigned char* at = nullptr) const
    {
        const long long offset = base_ + ((at ? at : p_) - begin_);
        throw FormError(kind, "byte offset " + std::to_string(offset) + ": " + what, 0, offset);
    }

    void need(std::size_t n) const
    {
        if (static_cast<std::size_t>(end_ - p_) < n)
            fail(FormError::Kind::UnexpectedEnd,
                 "unexpected end of data (" + std::to_string(n) + " more byte(s) expected)");
    }

    // The "TPF0" signature that starts the form data.
    void signature()
    {
        need(4);
        if (std::memcmp(p_, "TPF0", 4) != 0)
            fail(FormError::Kind::InvalidStreamFormat, "invalid stream format (signature TPF0 expected)");
        p_ += 4;
    }

    std::uint8_t peek() const
    {
        need(1);
        return *p_;
    }

    std::uint8_t byte()
    {
        need(1);
        return *p_++;
    }

    std::uint64_t u64()
    {
        const std::uint64_t low = u32();
        return low | (static_cast<std::uint64_t>(u32()) << 32);
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

    // n bytes, viewed in place.
    std::string_view bytes(std::size_t n)
    {
        need(n);
        const std::string_view s(reinterpret_cast<const char*>(p_), n);
        p_ += n;
        return s;
    }

    // A length byte and as many bytes.
    std::string_view shortString() { return bytes(byte()); }

    // The payload of an integer value of type 2, 3 or 4.
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

    void checkDepth(int depth) const
    {
        if (depth > kMaxDepth)
            fail(FormError::Kind::TooDeep, "components or values nested too deeply");
    }

    struct ComponentPrefix {
        bool present = false;
        std::uint8_t flags = 0;
        bool hasPosition = false;
        std::uint8_t positionType = vaInt8;
        std::int32_t position = 0;
    };

    // The optional prefix byte 0xF0..0xFF of a component record and the child
    // position it may announce. Unknown flags are an error; with flagsInMessage
    // the message shows the prefix byte.
    ComponentPrefix componentPrefix(bool flagsInMessage)
    {
        ComponentPrefix prefix;
        if ((peek() & 0xF0) != 0xF0)
            return prefix;
        const unsigned char* at = p_;
        prefix.present = true;
        prefix.flags = byte() & 0x0F;
        if (prefix.flags & ~kKnownFlags)
            fail(FormError::Kind::InvalidComponent,
                 flagsInMessage ? "unsupported component flags 0x" + hex2(static_cast<std::uint8_t>(0xF0 | prefix.flags))
                                : std::string("unsupported component flags"),
                 at);
        if (prefix.flags & kFlagChildPos) {
            const unsigned char* typeAt = p_;
            const std::uint8_t type = byte();
            if (type < vaInt8 || type > vaInt32)
                fail(FormError::Kind::InvalidComponent,
                     "child position must be an integer (value type " + std::to_string(type) + ")", typeAt);
            prefix.position = intPayload(type);
            prefix.positionType = type;
            prefix.hasPosition = true;
        }
        return prefix;
    }

    const unsigned char* const begin_;
    const unsigned char* p_;
    const unsigned char* const end_;
    const long long base_;
};

} // namespace lingrove::formfile::detail
