#pragma once

// The bytes of skill tables made up for tests, benchmarks and the fuzzer, in the layout game
// clients write; the system itself writes tables through SkillTableBuilder.

#include <cstdint>
#include <span>
#include <vector>

#include "skills/SkillFileLayout.h"

namespace quorrel {

// The index file's bytes for `records`, in order.
inline std::vector<std::uint8_t> indexBytes(std::span<const IndexRecord> records) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(records.size() * kIndexRecordSize);
    for (const IndexRecord& record : records) {
        appendIndexRecord(bytes, record);
    }
    return bytes;
}

// The files of `skills` in the game clients' layout, one record each, in order.
inline SkillFiles gameClientLayout(std::span<const SkillRecord> skills) {
    SkillFiles files;
    files.index.reserve(skills.size() * kIndexRecordSize);
    for (const SkillRecord& skill : skills) {
        appendGameClientRecord(files, skill);
    }
    return files;
}

}  // namespace quorrel
