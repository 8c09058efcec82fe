// The bundled demo folder is shaped like a Wine prefix, so that the window's default paths find the
// demo table when WINEPREFIX points at it, as scripts/run does.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ScopedVariable.h"
#include "runtime/filetable/FileTable.h"
#include "runtime/paths/PathResolver.h"
#include "skills/LoadAction.h"
#include "skills/SkillFileLayout.h"
#include "skills/StandaloneHost.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

class DemoPrefixTest : public ::testing::Test {
  private:
    testing::ScopedVariable prefix_{"WINEPREFIX", QUORREL_DEMO_PREFIX};
};

TEST_F(DemoPrefixTest, TheDefaultPathsLeadToTheDemoFiles) {
    const fs::path demo = QUORREL_DEMO_DIR;
    PathResolver resolver(FileSystem::native());
    EXPECT_TRUE(fs::equivalent(resolver.resolve(kDefaultDataPath).local, demo / "skills.mul"));
    EXPECT_TRUE(fs::equivalent(resolver.resolve(kDefaultIndexPath).local, demo / "skills.idx"));
}

TEST_F(DemoPrefixTest, TheLoadActionOnTheDefaultPathsListsTheDemoTable) {
    const std::string demo = QUORREL_DEMO_DIR;
    StandaloneHost direct(demo + "/skills.mul", demo + "/skills.idx");
    StandaloneHost defaults(kDefaultDataPath, kDefaultIndexPath);
    FileTable files;
    loadSkills(direct, files);
    loadSkills(defaults, files);
    EXPECT_GE(defaults.list().items().size(), 50u);
    EXPECT_EQ(defaults.list().items(), direct.list().items());
    EXPECT_EQ(defaults.list().currentIndex(), 0);
}

}  // namespace
}  // namespace quorrel
