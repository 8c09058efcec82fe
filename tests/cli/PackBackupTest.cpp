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

// A table beside an earlier pair of .bak files, and the arguments that pack over it with --backup.
struct TableWithBaks {
    TableWithBaks() : paths(writeTable(dir, old)) {
        const SkillRecord earlierSkills[] = {{"Tinkering", 1}};
        const SkillFiles earlier = gameClientLayout(earlierSkills);
        dir.write("skills.mul.bak", earlier.data);
        dir.write("skills.idx.bak", earlier.index);
    }

    std::string baksShown() const {
        return dump({paths.data + ".bak", paths.index + ".bak"}, "text");
    }

    static constexpr const char* kEarlierText = "[x] Tinkering\n";
    const SkillFiles old = mixedTable();
    const TempDir dir;
    const TablePaths paths;
    const std::vector<std::string> arguments = {"--data",    paths.data, "--index",
                                                paths.index, "--force",  "--backup"};
};

// Stops the run at each of its file system operations in turn, as a kill would, in a folder that
// holds an earlier pair of .bak files: the pair reads as the old table or the new one, the .bak
// pair as the earlier backups or the old table; a later run without --backup neither reports nor
// changes them; and the run that is not stopped leaves the old pair as the .bak files, byte for
// byte, and nothing else beside them.
TEST(PackBackup, AStopAtAnyMomentLeavesATableAndTheBakPairAsATable) {
    for (std::size_t nth = 1;; ++nth) {
        const TableWithBaks table;
        const TablePaths& paths = table.paths;
        const bool stopped = packStoppedAt(nth, table.arguments);

        const std::string now = dump(paths, "text");
        EXPECT_TRUE(now == kMixedTableText || now == kNewList) << "stop #" << nth << ": " << now;
        const std::string baks = table.baksShown();
        EXPECT_TRUE(baks == TableWithBaks::kEarlierText || baks == kMixedTableText)
            << "stop #" << nth << ": " << baks;
        const auto bakData = contentsOf(paths.data + ".bak");
        const auto bakIndex = contentsOf(paths.index + ".bak");
        if (!stopped) {
            EXPECT_EQ(bakData, textOf(table.old.data));
            EXPECT_EQ(bakIndex, textOf(table.old.index));
            EXPECT_EQ(namesIn(table.dir.path()).size(), 4u);
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

// A rename that fails, whichever it is. Before the new table is in place the run fails and undoes
// what it did, the .bak files as they were. After, it succeeds, the .bak pair reading as the
// earlier backups or the old table, and says where the old files it could not keep as .bak files
// are, which is all that is left beside the pair.
TEST(PackBackup, AFailingRenameLeavesATableAndSaysWhereTheOldFilesAre) {
    for (std::size_t nth = 1;; ++nth) {
        const TableWithBaks table;
        auto faults = std::make_shared<fault::WriteFaults>();
        faults->failingRename = nth;
        fault::FaultyWrites writer(faults);
        const CommandRun run = runPackWith(writer, table.arguments, kNewList);
        if (faults->renamesMade < nth) {
            EXPECT_EQ(run.status, 0) << run.err;
            break;
        }
        const std::string baks = table.baksShown();
        const auto left = namesIn(table.dir.path());
        if (run.status != 0) {
            EXPECT_EQ(dump(table.paths, "text"), kMixedTableText) << "rename #" << nth;
            EXPECT_EQ(baks, TableWithBaks::kEarlierText) << "rename #" << nth;
            EXPECT_EQ(left.size(), 4u) << "rename #" << nth;
            continue;
        }
        EXPECT_EQ(dump(table.paths, "text"), kNewList) << "rename #" << nth;
        EXPECT_TRUE(baks == TableWithBaks::kEarlierText || baks == kMixedTableText)
            << "rename #" << nth << ": " << baks;
        EXPECT_NE(run.err.find("could not all be kept as .bak files: cannot rename"),
                  std::string::npos)
            << run.err;
        EXPECT_GT(left.size(), 4u) << "rename #" << nth;
        for (const std::string& name : left) {
            EXPECT_TRUE(name.starts_with("skills.") || run.err.find(name) != std::string::npos)
                << "rename #" << nth << ": " << name << " is left and not named: " << run.err;
        }
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
