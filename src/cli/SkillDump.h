#pragma once

#include <optional>
#include <string>
#include <vector>

#include "runtime/Failure.h"
#include "skills/MemorySkillList.h"

namespace quorrel::cli {

// What one load produced: the items added, in order, and the failure that ended it early, if any.
// On failure `skills` holds the items added before it.
struct SkillDump {
    std::vector<SkillItem> skills;
    std::optional<Failure> failure;
};

// Runs the load action once on the two paths. Never throws a Failure: it is handed back instead.
SkillDump dumpSkills(const std::string& dataPath, const std::string& indexPath);

}  // namespace quorrel::cli
