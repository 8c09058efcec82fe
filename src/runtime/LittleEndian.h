#pragma once

#include <cstdint>
#include <span>

namespace quorrel {

// The signed 32-bit value of four little-endian bytes, the same on every machine.
inline std::int32_t littleEndianInt32(std::span<const std::uint8_t, 4> bytes) {
    const std::uint32_t value = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
                                (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
    return static_cast<std::int32_t>(value);
}

}  // namespace quorrel
