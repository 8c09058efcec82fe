// The built quorrel-dump executable, run as a separate process: what reaches the real standard
// streams and the exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "ProgramRun.h"
#include "SkillTableFiles.h"

namespace quorrel::testing {
namespace {

ProgramRun runDump(const std::vector<std::string>& arguments, const TempDir& scratch) {
    return runProgram(QUORREL_DUMP_PROGRAM, arguments, scratch);
}

TEST(DumpProgram, PrintsTheTableAsUtf8TextAndExits0) {
    const TempDir dir;
    const auto paths = writeSkillTable(dir, mixedTable());
    const auto run = runDump({"--data", paths.data, "--index", paths.index}, dir);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, kMixedTableText);
    EXPECT_EQ(run.err, "");
}

TEST(DumpProgram, PrintsAJsonErrorAndExits1WhenTheLoadFails) {
    const TempDir dir;
    const auto paths = writeSkillTable(dir, tableFailingAtRecord3());
    const auto run =
        runDump({"--data", paths.data, "--index", paths.index, "--format", "json"}, dir);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.out.find("\"name\": \"Zither Tuning\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"kind\": \"overflow\""), std::string::npos) << run.out;
    EXPECT_TRUE(run.err.ends_with("(record 3 of \"" + paths.index + "\")\n")) << run.err;
}

TEST(DumpProgram, PrintsTheItemsBeforeAFailureAsText) {
    const TempDir dir;
    const auto paths = writeSkillTable(dir, tableFailingAtRecord3());
    const auto run = runDump({"--data", paths.data, "--index", paths.index}, dir);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, kMixedTableText);
    EXPECT_TRUE(run.err.starts_with("quorrel-dump: ")) << run.err;
}

TEST(DumpProgram, ExitsWith2OnAUsageError) {
    const TempDir dir;
    const auto run = runDump({"--format", "yaml"}, dir);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("yaml"), std::string::npos) << run.err;
}

TEST(DumpProgram, ExitsWith1WhenStandardOutputCannotBeWritten) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "this system has no /dev/full";
    }
    const TempDir dir;
    const auto paths = writeSkillTable(dir, mixedTable());
    const std::string command = std::string("'") + QUORREL_DUMP_PROGRAM + "' --data '" +
                                paths.data + "' --index '" + paths.index +
                                "' >/dev/full 2>/dev/null";
    const int waitStatus = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(waitStatus));
    EXPECT_EQ(WEXITSTATUS(waitStatus), 1);
}

}  // namespace
}  // namespace quorrel::testing
