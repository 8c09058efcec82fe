// The bundled demo table: examples/demo-skills.txt, a list in the text format, and the two files
// quorrel-pack makes of it (cmake --build --preset dev --target demo-files).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Files.h"
#include "cli/formats/TextReader.h"
#include "cli/formats/TextWriter.h"
#include "skills/LoadAction.h"
#include "skills/StandaloneHost.h"

namespace quorrel::cli {
namespace {

using testing::contentsOf;

const std::filesystem::path kDemoDir = QUORREL_DEMO_DIR;

// The committed files are what quorrel-pack makes of the list, so that editing the list without
// making them again is caught.
TEST(DemoFiles, AreWhatQuorrelPackMakesOfTheList) {
    std::ifstream list(QUORREL_DEMO_LIST, std::ios::binary);
    SkillTableBuilder table(CodePage::windows1252());
    readTextTable(list, table);
    ASSERT_GE(table.nextRecord(), 50u);
    const LaidOutTable& made = table.files();
    const std::vector<std::uint8_t> index = made.index.bytes();
    EXPECT_EQ(contentsOf(kDemoDir / "skills.idx"), std::string(index.begin(), index.end()));
    EXPECT_EQ(contentsOf(kDemoDir / "skills.mul"), std::string(made.data.begin(), made.data.end()));
}

// They load back to exactly the list, game-client layout and all: each name is read one byte into
// the next record, and the last one past the file's end.
TEST(DemoFiles, LoadToTheListTheyWereMadeFrom) {
    StandaloneHost host((kDemoDir / "skills.mul").string(), (kDemoDir / "skills.idx").string(),
                        CodePage::windows1252());
    FileTable files;
    loadSkills(host, files);
    std::ostringstream shown;
    writeSkillsAsText(shown, host.list().items());
    EXPECT_EQ(shown.str(), contentsOf(QUORREL_DEMO_LIST));
    EXPECT_EQ(host.list().currentIndex(), 0);
    EXPECT_EQ(files.openCount(), 0u);
}

}  // namespace
}  // namespace quorrel::cli
