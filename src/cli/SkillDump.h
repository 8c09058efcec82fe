#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/CodePage.h"
#include "runtime/Failure.h"
#include "runtime/FileTable.h"

namespace quorrel::cli {

// One skill as quorrel-dump writes it: the index record it came from (counted from 0, as failure
// messages count them), its name in UTF-8, its check mark and the flag byte that set it.
struct DumpedSkill {
    std::uint64_t record = 0;
    std::string name;
    bool checked = false;
    std::uint8_t flag = 0;

    bool operator==(const DumpedSkill&) const = default;
};

// What one load produced: the items added, in order, how many index records it went through
// (empty slots included, so trailing ones are counted too), and the failure that ended it early,
// if any. On failure `skills` holds the items added before it and `recordCount` the records
// before the failing one.
struct SkillDump {
    std::vector<DumpedSkill> skills;
    std::optional<Failure> failure;
    std::uint64_t recordCount = 0;
};

// Runs the load action once on the two paths, with the files of `files`, converting the names
// through `codePage`. Never throws a Failure: it is handed back instead, and memory running out is
// one too.
SkillDump dumpSkills(const std::string& dataPath, const std::string& indexPath, CodePage codePage,
                     FileTable& files);

}  // namespace quorrel::cli
