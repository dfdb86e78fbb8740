#pragma once
// Shared between the converters of this folder.
#include <cstdint>

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
};

// Component prefix flags (lower four bits of a prefix byte 0xF0..0xFF).
constexpr std::uint8_t kFlagInherited = 1;
constexpr std::uint8_t kFlagChildPos = 2;

// How deep components and values may nest. Real forms stay far below; the
// limit keeps malformed input from exhausting the stack.
constexpr int kMaxDepth = 400;

} // namespace lingrove::formfile::detail
