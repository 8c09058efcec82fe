#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The two skill files, as game clients lay them out. The index file is a run of 12-byte records,
// each three little-endian 32-bit values: the offset of a skill's record in the data file, its
// length and an `extra` value that nothing reads. A data record is the flag byte, then the name's
// bytes, in the length the index record gives.

namespace quorrel {

// The default locations of the two files, as the game installs them.
inline constexpr const char* kDefaultDataPath = "c:\\program files\\ultima online\\skills.mul";
inline constexpr const char* kDefaultIndexPath = "c:\\program files\\ultima online\\skills.idx";

inline constexpr std::size_t kIndexRecordSize = 12;

// An index record with this offset, or with length 0, is an empty slot.
inline constexpr std::int32_t kEmptySlotOffset = -1;
inline constexpr std::int32_t kEmptySlotLength = 0;

constexpr bool isEmptySlot(std::int32_t offset, std::int32_t length) {
    return offset == kEmptySlotOffset || length == kEmptySlotLength;
}

// One index record as it stands in the file.
struct IndexRecord {
    std::int32_t offset = 0;
    std::int32_t length = 0;
    std::uint32_t extra = 0;

    bool operator==(const IndexRecord&) const = default;
};

// One skill as a data record holds it: its name as 8-bit bytes, its flag byte, and the
// index record's `extra` value.
struct SkillRecord {
    std::string name;
    std::uint8_t flag = 0;
    std::uint32_t extra = 0;
};

// The bytes of an index file and a data file.
struct SkillFiles {
    std::vector<std::uint8_t> index;
    std::vector<std::uint8_t> data;
};

// The index record in its twelve bytes: the one place they are read.
IndexRecord indexRecordOf(std::span<const std::uint8_t, kIndexRecordSize> bytes);

// Index record number `record` of `index`, which holds it whole.
IndexRecord indexRecordAt(std::span<const std::uint8_t> index, std::size_t record);

// Appends one index record as three little-endian 32-bit values: what indexRecordOf reads back.
void appendIndexRecord(std::vector<std::uint8_t>& index, const IndexRecord& record);

// Appends a skill's data record as game clients write it at the end of the data file: the flag,
// the name and a terminating zero; the index record that points at it, its length counting all
// three. The caller sees to it that the offset and length fit in 32 bits.
IndexRecord appendDataRecord(std::vector<std::uint8_t>& data, const SkillRecord& skill);

// Appends a skill as game clients write it: at the end of the data file the flag, the name and a
// terminating zero, and an index record whose length counts all three. The bytes are taken as
// they are; the caller sees to it that the offset and length fit in 32 bits.
void appendGameClientRecord(SkillFiles& files, const SkillRecord& skill);

// Appends an empty slot: an index record with offset -1, length 0 and extra 0.
void appendEmptySlot(SkillFiles& files);

}  // namespace quorrel
