#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quorrel {

// One index record as it stands in the file.
struct IndexRecord {
    std::int32_t offset = 0;
    std::int32_t length = 0;
    std::uint32_t extra = 0;
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

// Index record number `record` of `index`, which holds it whole.
IndexRecord indexRecordAt(std::span<const std::uint8_t> index, std::size_t record);

// Appends one index record as three little-endian 32-bit values.
void appendIndexRecord(std::vector<std::uint8_t>& index, const IndexRecord& record);

// The index file's bytes for `records`, in order.
std::vector<std::uint8_t> indexBytes(std::span<const IndexRecord> records);

// Appends a skill as game clients write it: at the end of the data file the flag, the name and a
// terminating zero, and an index record whose length counts all three. The bytes are taken as
// they are; the caller sees to it that the offset and length fit in 32 bits.
void appendGameClientRecord(SkillFiles& files, const SkillRecord& skill);

// Appends an empty slot: an index record with offset -1, length 0 and extra 0.
void appendEmptySlot(SkillFiles& files);

// The files of `skills` in the game clients' layout, one record each, in order.
SkillFiles gameClientLayout(std::span<const SkillRecord> skills);

}  // namespace quorrel
