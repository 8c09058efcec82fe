#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/base/Failure.h"
#include "skills/SkillRow.h"

namespace quorrel::cli {

// What one load produced, as the formats write it: the items added, in order, how many index
// records it went through (empty slots included, so trailing ones are counted too), and the
// failure that ended it early, if any. On failure `skills` holds the items added before it and
// `recordCount` the records before the failing one. `writtenBackOtherwise` holds the records
// whose names a pack would write as other bytes, in the same text.
struct SkillDump {
    std::vector<SkillRow> skills;
    std::optional<Failure> failure;
    std::uint64_t recordCount = 0;
    std::vector<std::uint64_t> writtenBackOtherwise{};
};

}  // namespace quorrel::cli
