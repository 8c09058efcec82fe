#pragma once

#include <cstdint>
#include <string>

namespace quorrel {

// One skill of a table as a row: the index record it stands in (counted from 0, as failure
// messages count them), its name in UTF-8, its check mark and its flag byte. A load fills rows
// with the check mark the list was given; a list read for packing sets both from its own text,
// and the flag byte is what gets written.
struct SkillRow {
    std::uint64_t record = 0;
    std::string name;
    bool checked = false;
    std::uint8_t flag = 0;

    bool operator==(const SkillRow&) const = default;
};

}  // namespace quorrel
