// quorrel-pack --backup: the replaced pair kept as NAME.bak, whole after a stop at any moment,
// and never touched by a later run; and the .bak files it refuses to replace.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "Files.h"
#include "NumberedCase.h"
#include "SkillTableFiles.h"
#include "WriteFaults.h"

namespace quorrel::testing {
namespace {

namespace fs = std::filesystem;

// Stops the run at each of its file system operations in turn, as a kill would, in a folder that
// holds an earlier pair of .bak files: the pair reads as the old table or the new one, each .bak is
// the earlier one or the old file, whole; a later run without --backup neither reports nor
// removes them; and the run that is not stopped leaves the old pair as the .bak files, and nothing
// else beside them.
TEST(PackBackup, AStopAtAnyMomentLeavesATableAndEachBakWhole) {
    const SkillRecord earlierSkills[] = {{"Tinkering", 1}};
    const SkillFiles earlier = gameClientLayout(earlierSkills);
    const SkillFiles old = mixedTable();
    for (std::size_t nth = 1;; ++nth) {
        const TempDir dir;
        const auto paths = writeTable(dir, old);
        dir.write("skills.mul.bak", earlier.data);
        dir.write("skills.idx.bak", earlier.index);
        const std::vector<std::string> arguments = {"--data",    paths.data, "--index",
                                                    paths.index, "--force",  "--backup"};
        const bool stopped = packStoppedAt(nth, arguments);

        const std::string now = dump(paths, "text");
        EXPECT_TRUE(now == kMixedTableText || now == kNewList) << "stop #" << nth << ": " << now;
        const auto bakData = contentsOf(paths.data + ".bak");
        const auto bakIndex = contentsOf(paths.index + ".bak");
        EXPECT_TRUE(bakData == textOf(earlier.data) || bakData == textOf(old.data))
            << "stop #" << nth;
        EXPECT_TRUE(bakIndex == textOf(earlier.index) || bakIndex == textOf(old.index))
            << "stop #" << nth;
        if (!stopped) {
            EXPECT_EQ(bakData, textOf(old.data));
            EXPECT_EQ(bakIndex, textOf(old.index));
            EXPECT_EQ(namesIn(dir.path()).size(), 4u);
            break;
        }
        const CommandRun again =
            runPack({"--data", paths.data, "--index", paths.index, "--force"}, kNewList);
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(again.err.find(".bak\""), std::string::npos) << "stop #" << nth << again.err;
        EXPECT_EQ(contentsOf(paths.data + ".bak"), bakData) << "stop #" << nth;
        EXPECT_EQ(contentsOf(paths.index + ".bak"), bakIndex) << "stop #" << nth;
        ASSERT_LT(nth, 100u);
    }
}

struct RefusedBak {
    const char* what;
    // Makes what is refused in `dir`, beside the table; the arguments after the targets.
    std::function<std::vector<std::string>(const TempDir&, const TablePaths&)> make;
    const char* words;
};

void PrintTo(const RefusedBak& refused, std::ostream* out) {
    *out << refused.what;
}

class PackBackupRefuses : public ::testing::TestWithParam<RefusedBak> {};

// Refused before anything is touched, by a dry run as by a real run, with the same message: the
// pair, the .bak and the folder are as they were.
TEST_P(PackBackupRefuses, ABakItMustNotReplace) {
    const TempDir dir;
    const auto paths = writeTable(dir, mixedTable());
    std::vector<std::string> arguments = {"--data",    paths.data, "--index",
                                          paths.index, "--force",  "--backup"};
    const auto more = GetParam().make(dir, paths);
    arguments.insert(arguments.end(), more.begin(), more.end());
    const auto before = namesIn(dir.path());
    for (const bool dryRun : {true, false}) {
        std::vector<std::string> given = arguments;
        given.push_back(dryRun ? "--dry-run" : "--verbose");
        const CommandRun run = runPack(given, kNewList);
        EXPECT_EQ(run.status, 1) << dryRun;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with("quorrel-pack: cannot keep the old \"" + paths.data +
                                        "\" as \"" + paths.data + ".bak\": " + GetParam().words))
            << run.err;
        EXPECT_EQ(namesIn(dir.path()), before);
        EXPECT_EQ(dump(paths, "text"), kMixedTableText);
    }
}

std::vector<RefusedBak> refusedBaks() {
    std::vector<RefusedBak> refused = {
        {"a folder",
         [](const TempDir&, const TablePaths& paths) {
             fs::create_directory(paths.data + ".bak");
             return std::vector<std::string>{};
         },
         "it is a folder"},
        {"the list read",
         [](const TempDir& dir, const TablePaths& paths) {
             dir.write("skills.mul.bak", bytesOf(kNewList));
             return std::vector<std::string>{"--from", paths.data + ".bak"};
         },
         "it is \""}};
#ifndef _WIN32
    refused.push_back({"a link that leads nowhere",
                       [](const TempDir& dir, const TablePaths& paths) {
                           fs::create_symlink(dir.path() / "elsewhere", paths.data + ".bak");
                           return std::vector<std::string>{};
                       },
                       "it is a symbolic link"});
#endif
    return refused;
}

INSTANTIATE_TEST_SUITE_P(Baks, PackBackupRefuses, ::testing::ValuesIn(refusedBaks()),
                         NumberedCase());

}  // namespace
}  // namespace quorrel::testing
