#pragma once

#include <cstdint>

namespace quorrel {

// An index record is three little-endian 32-bit values: offset, length and extra.
inline constexpr std::uint64_t kIndexRecordSize = 12;

// An index record with this offset, or with length 0, is an empty slot.
inline constexpr std::int32_t kEmptySlotOffset = -1;
inline constexpr std::int32_t kEmptySlotLength = 0;

constexpr bool isEmptySlot(std::int32_t offset, std::int32_t length) {
    return offset == kEmptySlotOffset || length == kEmptySlotLength;
}

// The default locations of the two files, as the game installs them.
inline constexpr const char* kDefaultDataPath = "c:\\program files\\ultima online\\skills.mul";
inline constexpr const char* kDefaultIndexPath = "c:\\program files\\ultima online\\skills.idx";

}  // namespace quorrel
