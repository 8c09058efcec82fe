#include "BenchTables.h"

#include <array>
#include <vector>

#include "TableBytes.h"
#include "TempDir.h"
#include "skills/SkillFileLayout.h"

namespace quorrel::bench {
namespace {

// A made-up name of 8 to 24 characters, different for every record.
std::string nameOf(std::size_t record) {
    static constexpr std::array<const char*, 8> kStems = {
        "Lantern", "Brook", "Tide", "Ember", "Quill", "Hollow", "Thistle", "Cinder",
    };
    static constexpr std::array<const char*, 4> kEndings = {"craft", "lore", "watching", "keeping"};
    return std::string(kStems[record % kStems.size()]) + kEndings[(record / 8) % kEndings.size()] +
           " " + std::to_string(record);
}

}  // namespace

TablePaths writeBenchTable(std::size_t usedRecords, const std::filesystem::path& directory) {
    std::vector<SkillRecord> skills;
    skills.reserve(usedRecords);
    for (std::size_t record = 0; record < usedRecords; ++record) {
        skills.push_back({nameOf(record), static_cast<std::uint8_t>(record % 2)});
    }
    return testing::writeTable(directory, gameClientLayout(skills), std::to_string(usedRecords));
}

}  // namespace quorrel::bench
