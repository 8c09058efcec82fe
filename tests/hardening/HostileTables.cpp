#include "HostileTables.h"

#include <filesystem>
#include <limits>

#include "TableBytes.h"
#include "skills/SkillFileLayout.h"

namespace quorrel::testing {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

}  // namespace

HostileTables::HostileTables() {
    const auto game = gameClientLayout(
        std::vector<SkillRecord>{{"Lanternwork", 1}, {"Brookcraft", 0}, {"Tidewatching", 255}});
    const TablePaths whole = writeTable(directory_, game);
    const std::string missing = (directory_.path() / "absent.mul").string();
    std::filesystem::create_directory(directory_.path() / "folder");
    const std::string folder = (directory_.path() / "folder").string();

    // The data file of the whole table with another index.
    const auto index = [&](const std::string& name, std::vector<IndexRecord> records) {
        return TablePaths{whole.data, directory_.write(name, indexBytes(records))};
    };
    cases_ = {
        {"whole table", whole, std::nullopt, 3},
        {"empty slots only", index("empty.idx", {{-1, 4, 0}, {0, 0, 0}}), std::nullopt, 0},
        {"missing index",
         {whole.data, (directory_.path() / "absent.idx").string()},
         FailureKind::OpenRefused,
         0},
        {"missing data", {missing, whole.index}, FailureKind::OpenRefused, 0},
        {"folder as data", {folder, whole.index}, FailureKind::OpenRefused, 0},
        {"overflowing offset", index("offset-max.idx", {{0, 5, 0}, {kMax, 5, 0}}),
         FailureKind::Overflow, 1},
        {"offset below the start", index("offset-2.idx", {{0, 5, 0}, {-2, 5, 0}}),
         FailureKind::BadReadPosition, 1},
        {"overflowing length", index("length-min.idx", {{0, 5, 0}, {0, kMin, 0}}),
         FailureKind::Overflow, 1},
        {"negative length", index("length-5.idx", {{0, 5, 0}, {0, -5, 0}}),
         FailureKind::BufferBounds, 1},
    };
}

}  // namespace quorrel::testing
