#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/Text8Bit.h"
#include "skills/LoadAction.h"
#include "skills/SkillTableLayout.h"
#include "skills/StandaloneHost.h"

namespace quorrel {
namespace {

std::vector<SkillItem> itemsOfList(const std::string& listPath) {
    std::ifstream in(listPath);
    std::vector<SkillItem> items;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("[x] ") || line.starts_with("[ ] ")) {
            items.push_back({line.substr(4), line[1] == 'x'});
        }
    }
    return items;
}

std::vector<char> contentsOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The committed demo files load back to exactly the list they were made from, game-client layout
// and all: each name is read one byte into the next record, and the last one past the file's end.
TEST(DemoFiles, LoadToTheListTheyWereMadeFrom) {
    const std::string dir = QUORREL_DEMO_DIR;
    StandaloneHost host(dir + "/skills.mul", dir + "/skills.idx");
    FileTable files;
    loadSkills(host, files);

    const auto expected = itemsOfList(QUORREL_DEMO_LIST);
    ASSERT_GE(expected.size(), 50u);
    EXPECT_EQ(host.list().items(), expected);
    EXPECT_EQ(host.list().currentIndex(), 0);
    EXPECT_EQ(files.openCount(), 0u);
}

// The committed files are exactly what the generator makes of the list, so that editing the list
// without regenerating them is caught.
TEST(DemoFiles, MatchWhatTheGeneratorMakesOfTheList) {
    std::vector<SkillRecord> skills;
    for (const SkillItem& item : itemsOfList(QUORREL_DEMO_LIST)) {
        skills.push_back({textTo8Bit(item.text), item.checked ? std::uint8_t{1} : std::uint8_t{0}});
    }
    const auto made = gameClientLayout(skills);
    const std::filesystem::path dir = QUORREL_DEMO_DIR;
    EXPECT_EQ(contentsOf(dir / "skills.idx"),
              std::vector<char>(made.index.begin(), made.index.end()));
    EXPECT_EQ(contentsOf(dir / "skills.mul"),
              std::vector<char>(made.data.begin(), made.data.end()));
}

}  // namespace
}  // namespace quorrel
