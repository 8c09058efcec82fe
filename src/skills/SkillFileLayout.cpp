#include "SkillFileLayout.h"

namespace quorrel {
namespace {

// Four little-endian bytes, the same on every machine.
std::uint32_t littleEndian32(std::span<const std::uint8_t, 4> bytes) {
    return std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
           (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
}

void appendLittleEndian32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

}  // namespace

IndexRecord indexRecordOf(std::span<const std::uint8_t, kIndexRecordSize> bytes) {
    return {static_cast<std::int32_t>(littleEndian32(bytes.subspan<0, 4>())),
            static_cast<std::int32_t>(littleEndian32(bytes.subspan<4, 4>())),
            littleEndian32(bytes.subspan<8, 4>())};
}

IndexRecord indexRecordAt(std::span<const std::uint8_t> index, std::size_t record) {
    return indexRecordOf(index.subspan(record * kIndexRecordSize).first<kIndexRecordSize>());
}

void appendIndexRecord(std::vector<std::uint8_t>& index, const IndexRecord& record) {
    appendLittleEndian32(index, static_cast<std::uint32_t>(record.offset));
    appendLittleEndian32(index, static_cast<std::uint32_t>(record.length));
    appendLittleEndian32(index, record.extra);
}

IndexRecord appendDataRecord(std::vector<std::uint8_t>& data, const SkillRecord& skill) {
    const auto offset = static_cast<std::int32_t>(data.size());
    data.push_back(skill.flag);
    data.insert(data.end(), skill.name.begin(), skill.name.end());
    data.push_back(0);
    return {offset, static_cast<std::int32_t>(skill.name.size() + 2), skill.extra};
}

void appendGameClientRecord(SkillFiles& files, const SkillRecord& skill) {
    appendIndexRecord(files.index, appendDataRecord(files.data, skill));
}

void appendEmptySlot(SkillFiles& files) {
    appendIndexRecord(files.index, {kEmptySlotOffset, kEmptySlotLength, 0});
}

}  // namespace quorrel
