#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "DroppedPaths.h"
#include "NumberedCase.h"
#include "TempDir.h"

namespace quorrel::form1 {
namespace {

// Names of entries inside a scratch folder that holds, besides the files named here, the folders
// "game" (skills.mul and skills.idx), "shouting" (SKILLS.MUL and Skills.Idx), "half" (skills.mul
// only) and "empty".
struct DropCase {
    std::vector<std::string> dropped;
    ControlId droppedOn;
    std::optional<std::string> txtPath;
    std::optional<std::string> txtPathIdx;
    std::string refusalWords;
};

class DroppedPathsTest : public ::testing::TestWithParam<DropCase> {
  protected:
    DroppedPathsTest() {
        for (const char* name :
             {"game/skills.mul", "game/skills.idx", "shouting/SKILLS.MUL", "shouting/Skills.Idx",
              "half/skills.mul", "a.mul", "a.idx", "b.MUL", "notes.txt", "other.bin"}) {
            std::filesystem::create_directories((dir_.path() / name).parent_path());
            dir_.write(name, {});
        }
        std::filesystem::create_directory(dir_.path() / "empty");
    }

    // The names here separate folders with '/'; on Windows the paths a drop gives use backslashes.
    std::string at(const std::string& name) const {
        return (dir_.path() / std::filesystem::path(name).make_preferred()).string();
    }

    std::optional<std::string> at(const std::optional<std::string>& name) const {
        return name ? std::optional(at(*name)) : std::nullopt;
    }

  private:
    testing::TempDir dir_;
};

TEST_P(DroppedPathsTest, FillsTheFieldsTheDropNamesOrRefusesIt) {
    const DropCase& drop = GetParam();
    std::vector<std::string> dropped;
    for (const std::string& name : drop.dropped) {
        dropped.push_back(at(name));
    }

    const DropOutcome outcome = pathsFromDrop(dropped, drop.droppedOn);

    EXPECT_EQ(outcome.txtPath, at(drop.txtPath));
    EXPECT_EQ(outcome.txtPathIdx, at(drop.txtPathIdx));
    EXPECT_EQ(outcome.taken(), drop.refusalWords.empty());
    EXPECT_NE(outcome.refusal.find(drop.refusalWords), std::string::npos) << outcome.refusal;
}

INSTANTIATE_TEST_SUITE_P(
    Drops, DroppedPathsTest,
    ::testing::Values(
        // One file goes where it is dropped, whatever its name.
        DropCase{{"a.idx"}, ControlId::txtPath, "a.idx", std::nullopt, ""},
        DropCase{{"notes.txt"}, ControlId::txtPathIdx, std::nullopt, "notes.txt", ""},
        // Two files go by their names, whatever field they are dropped on and in either order.
        DropCase{{"a.idx", "a.mul"}, ControlId::txtPath, "a.mul", "a.idx", ""},
        DropCase{{"b.MUL", "other.bin"}, ControlId::txtPathIdx, "b.MUL", "other.bin", ""},
        DropCase{{"other.bin", "a.idx"}, ControlId::txtPathIdx, "other.bin", "a.idx", ""},
        DropCase{{"a.mul", "b.MUL"}, ControlId::txtPath, std::nullopt, std::nullopt, "*.idx"},
        DropCase{
            {"notes.txt", "other.bin"}, ControlId::txtPath, std::nullopt, std::nullopt, "*.mul"},
        // A folder gives the two files inside it, found in any case.
        DropCase{{"game"}, ControlId::txtPathIdx, "game/skills.mul", "game/skills.idx", ""},
        DropCase{
            {"shouting"}, ControlId::txtPath, "shouting/SKILLS.MUL", "shouting/Skills.Idx", ""},
        DropCase{{"half"}, ControlId::txtPath, std::nullopt, std::nullopt, "holds no skills.idx"},
        DropCase{{"empty"},
                 ControlId::txtPath,
                 std::nullopt,
                 std::nullopt,
                 "holds no skills.mul and skills.idx"},
        // Anything else is refused.
        DropCase{{}, ControlId::txtPath, std::nullopt, std::nullopt, "Drop one file"},
        DropCase{{"a.mul", "a.idx", "b.MUL"},
                 ControlId::txtPath,
                 std::nullopt,
                 std::nullopt,
                 "Drop one file"},
        DropCase{
            {"game", "a.idx"}, ControlId::txtPath, std::nullopt, std::nullopt, "Drop one file"}),
    testing::NumberedCase{});

}  // namespace
}  // namespace quorrel::form1
