// The built programs, run as separate processes: what only a process shows (the locale it starts
// in, its exit status, a standard output that cannot be written, a file size limit). What they
// print is tested in this process, by DumpCommandTest and PackCommandTest.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "Files.h"
#include "ProgramRun.h"
#include "SkillTableFiles.h"
#include "TableBytes.h"

namespace quorrel::testing {
namespace {

ProgramRun runDumpProgram(const std::vector<std::string>& arguments, const TempDir& scratch) {
    return runProgram(QUORREL_DUMP_PROGRAM, arguments, scratch);
}

// Names are read in the code page Windows programs get for the locale, which only the variables'
// text decides (no Russian locale need be installed), unless --codepage says otherwise.
TEST(DumpProgram, ReadsNamesInTheLocalesCodePageOrTheOneChosen) {
    const TempDir dir;
    const SkillRecord skills[] = {{"\xC7\xE5\xEB\xFC\xE5", 1}};
    const auto paths = writeTable(dir, gameClientLayout(skills));
    const std::string cyrillic = "[x] \u0417\u0435\u043B\u044C\u0435\n";
    const std::string latin1 = "[x] \u00C7\u00E5\u00EB\u00FC\u00E5\n";
    const struct {
        std::vector<std::string> environment;
        std::vector<std::string> options;
        std::string expected;
    } cases[] = {
        {{"LANG=ru_RU.UTF-8"}, {}, cyrillic},
        {{"LANG=C.UTF-8"}, {}, latin1},
        {{"LC_ALL=C.UTF-8", "LANG=ru_RU.UTF-8"}, {}, latin1},
        {{"LC_ALL=C.UTF-8"}, {"--codepage", "1251"}, cyrillic},
        {{"LANG=ru_RU.UTF-8"}, {"--codepage", "1252"}, latin1},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"-u", "LC_ALL", "-u", "LC_CTYPE"};
        arguments.insert(arguments.end(), c.environment.begin(), c.environment.end());
        arguments.insert(arguments.end(),
                         {QUORREL_DUMP_PROGRAM, "--data", paths.data, "--index", paths.index});
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const auto run = runProgram("env", arguments, dir);
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(run.out, c.expected) << c.environment.back();
    }
}

TEST(DumpProgram, ExitsWith2OnAUsageError) {
    const TempDir dir;
    const auto run = runDumpProgram({"--format", "yaml"}, dir);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("yaml"), std::string::npos) << run.err;
}

TEST(DumpProgram, ExitsWith1WhenStandardOutputCannotBeWritten) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "this system has no /dev/full";
    }
    const TempDir dir;
    const auto paths = writeTable(dir, mixedTable());
    const std::string command = std::string("'") + QUORREL_DUMP_PROGRAM + "' --data '" +
                                paths.data + "' --index '" + paths.index +
                                "' >/dev/full 2>/dev/null";
    const int waitStatus = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(waitStatus));
    EXPECT_EQ(WEXITSTATUS(waitStatus), 1);
}

struct LimitedRun {
    const char* program;
    bool packs;  // writes the table again from its list, rather than printing it
    const char* words;
};

void PrintTo(const LimitedRun& run, std::ostream* out) {
    *out << (run.packs ? "quorrel-pack" : "quorrel-dump");
}

class UnderAFileSizeLimit : public ::testing::TestWithParam<LimitedRun> {};

// ulimit -f makes the system send SIGXFSZ, which would end a program without a word; each says
// that its write failed and exits with 1, and quorrel-pack leaves the old files as they were.
TEST_P(UnderAFileSizeLimit, AWriteThatPassesItFailsWithAMessage) {
    const TempDir dir;
    SkillFiles files;
    for (int skill = 0; skill < 80; ++skill) {
        appendGameClientRecord(files, {"A skill with a name long enough to pass the limit", 1});
    }
    const auto paths = writeTable(dir, files);
    const std::string list = (dir.path() / "list.txt").string();
    ASSERT_EQ(std::system(("'" + std::string(QUORREL_DUMP_PROGRAM) + "' --data '" + paths.data +
                           "' --index '" + paths.index + "' >'" + list + "'")
                              .c_str()),
              0);
    const std::string command = std::string("ulimit -f 1; '") + GetParam().program + "' --data '" +
                                paths.data + "' --index '" + paths.index + "' " +
                                (GetParam().packs ? "--force --from '" + list + "'"
                                                  : ">'" + (dir.path() / "out").string() + "'") +
                                " 2>'" + (dir.path() / "err").string() + "'";
    const int waitStatus = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(waitStatus)) << "ended by signal " << WTERMSIG(waitStatus);
    EXPECT_EQ(WEXITSTATUS(waitStatus), 1);
    const std::string message = contentsOf(dir.path() / "err").value_or("");
    EXPECT_NE(message.find(GetParam().words), std::string::npos) << message;
    EXPECT_EQ(contentsOf(paths.data), std::string(files.data.begin(), files.data.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Programs, UnderAFileSizeLimit,
    ::testing::Values(LimitedRun{QUORREL_DUMP_PROGRAM, false, "cannot write to standard output"},
                      LimitedRun{QUORREL_PACK_PROGRAM, true, "File too large"}));

}  // namespace
}  // namespace quorrel::testing
