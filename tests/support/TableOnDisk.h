#pragma once

#include <filesystem>
#include <string>

#include "TempDir.h"
#include "skills/SkillFileLayout.h"

namespace quorrel::testing {

// The two paths of a skill table written for a test.
struct TablePaths {
    std::string data;
    std::string index;
};

// Writes the table into `folder` as STEM.mul and STEM.idx, the one way the tests and the
// benchmarks put a table on disk.
inline TablePaths writeTable(const std::filesystem::path& folder, const SkillFiles& files,
                             const std::string& stem = "skills") {
    const TablePaths paths{(folder / (stem + ".mul")).string(),
                           (folder / (stem + ".idx")).string()};
    writeFile(paths.data, files.data);
    writeFile(paths.index, files.index);
    return paths;
}

inline TablePaths writeTable(const TempDir& dir, const SkillFiles& files,
                             const std::string& stem = "skills") {
    return writeTable(dir.path(), files, stem);
}

}  // namespace quorrel::testing
