#pragma once

#include <string>

#include "TempDir.h"
#include "skills/SkillFileLayout.h"

namespace quorrel::testing {

// The two paths of a skill table written for a test.
struct TablePaths {
    std::string data;
    std::string index;
};

// Writes the table into `dir` as STEM.mul and STEM.idx, the one way the tests put a table on disk.
inline TablePaths writeTable(const TempDir& dir, const SkillFiles& files,
                             const std::string& stem = "skills") {
    return TablePaths{dir.write(stem + ".mul", files.data), dir.write(stem + ".idx", files.index)};
}

}  // namespace quorrel::testing
