#include "HostileTables.h"

#include <filesystem>
#include <limits>

#include "skills/SkillFileLayout.h"

namespace quorrel::testing {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

}  // namespace

HostileTables::HostileTables() {
    const auto game = gameClientLayout(
        std::vector<SkillRecord>{{"Lanternwork", 1}, {"Brookcraft", 0}, {"Tidewatching", 255}});
    const std::string data = directory_.write("skills.mul", game.data);
    const std::string missing = (directory_.path() / "absent.mul").string();
    std::filesystem::create_directory(directory_.path() / "folder");
    const std::string folder = (directory_.path() / "folder").string();

    const auto index = [&](const std::string& name, std::vector<IndexRecord> records) {
        return directory_.write(name, indexBytes(records));
    };
    const std::string whole = directory_.write("skills.idx", game.index);
    cases_ = {
        {"whole table", whole, data, std::nullopt, 3},
        {"empty slots only", index("empty.idx", {{-1, 4, 0}, {0, 0, 0}}), data, std::nullopt, 0},
        {"missing index", (directory_.path() / "absent.idx").string(), data,
         FailureKind::OpenRefused, 0},
        {"missing data", whole, missing, FailureKind::OpenRefused, 0},
        {"folder as data", whole, folder, FailureKind::OpenRefused, 0},
        {"overflowing offset", index("offset-max.idx", {{0, 5, 0}, {kMax, 5, 0}}), data,
         FailureKind::Overflow, 1},
        {"offset below the start", index("offset-2.idx", {{0, 5, 0}, {-2, 5, 0}}), data,
         FailureKind::BadReadPosition, 1},
        {"overflowing length", index("length-min.idx", {{0, 5, 0}, {0, kMin, 0}}), data,
         FailureKind::Overflow, 1},
        {"negative length", index("length-5.idx", {{0, 5, 0}, {0, -5, 0}}), data,
         FailureKind::BufferBounds, 1},
    };
}

}  // namespace quorrel::testing
