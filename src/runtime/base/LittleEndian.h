#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quorrel {

// The signed 32-bit value of four little-endian bytes, the same on every machine.
inline std::int32_t littleEndianInt32(std::span<const std::uint8_t, 4> bytes) {
    const std::uint32_t value = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
                                (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
    return static_cast<std::int32_t>(value);
}

// Appends `value` as four little-endian bytes: what littleEndianInt32 reads back.
inline void appendLittleEndian32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

}  // namespace quorrel
