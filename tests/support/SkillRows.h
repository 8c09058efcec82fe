#pragma once

#include <string>
#include <vector>

#include "skills/SkillRow.h"

namespace quorrel::testing {

// The names of the rows, in order: for the tests that look at which skills a load gave, not at
// their records and flags.
inline std::vector<std::string> namesOf(const std::vector<SkillRow>& rows) {
    std::vector<std::string> names;
    for (const SkillRow& row : rows) {
        names.push_back(row.name);
    }
    return names;
}

}  // namespace quorrel::testing
