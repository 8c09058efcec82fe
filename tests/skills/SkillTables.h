#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "ExpectFailure.h"
#include "Files.h"
#include "RecordingHost.h"
#include "SkillRows.h"
#include "TableBytes.h"
#include "TableOnDisk.h"
#include "TempDir.h"
#include "runtime/base/Failure.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadAction.h"
#include "skills/SkillFileLayout.h"

namespace quorrel {

inline void PrintTo(const IndexRecord& record, std::ostream* out) {
    *out << "offset " << record.offset << ", length " << record.length;
}

}  // namespace quorrel

namespace quorrel::testing {

inline constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
inline constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// Three skills in the game client's layout: records of 9 bytes at offsets 0, 9 and 18, with the
// flags 1, 0 and 255.
inline const std::vector<SkillRecord> kThreeSkills = {
    {"Dowsing", 1}, {"Gilding", 0}, {"Joinery", 255}};
inline constexpr IndexRecord kDowsing{0, 9, 0};
inline constexpr IndexRecord kGilding{9, 9, 0};
inline constexpr std::int32_t kJoineryOffset = 18;

// Skill files written into a fresh directory, and a run of the load action over them.
class SkillTables {
  public:
    std::string writeIndex(const std::vector<IndexRecord>& records,
                           const std::string& name = "skills.idx") const {
        return dir_.write(name, indexBytes(records));
    }
    std::string writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        return dir_.write(name, bytes);
    }
    std::string pathOf(const std::string& name) const { return (dir_.path() / name).string(); }

    // A host over the data file of kThreeSkills and an index of `records`.
    RecordingHost hostOverThreeSkills(const std::vector<IndexRecord>& records) const {
        const TablePaths paths =
            writeTable(dir_, SkillFiles{indexBytes(records), gameClientLayout(kThreeSkills).data});
        return RecordingHost(paths.data, paths.index);
    }

    // Runs the load action; the failure it raised, if any.
    std::optional<Failure> load(LoadHost& host) {
        return failureOf([&] { loadSkills(host, files_); });
    }

    FileTable& files() noexcept { return files_; }

  private:
    TempDir dir_;
    FileTable files_;
};

// The fixture of the load action's tests: tables written for the test, and hosts over them.
class LoadTest : public ::testing::Test {
  protected:
    RecordingHost hostFor(const std::vector<IndexRecord>& records) {
        return tables.hostOverThreeSkills(records);
    }

    SkillTables tables;
};

}  // namespace quorrel::testing
