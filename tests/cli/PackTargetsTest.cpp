// What quorrel-pack refuses to write over, and what a run stopped at any moment leaves: a pair
// that reads as the old table or the new one, and nothing a later run does not clean up or report.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "ExpectFailure.h"
#include "Files.h"
#include "NumberedCase.h"
#include "ReadFaults.h"
#include "ScopedVariable.h"
#include "SkillTableFiles.h"
#include "WriteFaults.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace quorrel::testing {
namespace {

namespace fs = std::filesystem;

struct OddTarget {
    const char* what;
    std::function<std::string(const TempDir&)> make;  // makes it; the path to give as --data
    const char* words;
};

void PrintTo(const OddTarget& target, std::ostream* out) {
    *out << target.what;
}

class PackOddTarget : public ::testing::TestWithParam<OddTarget> {};

// Refused before anything is touched, however the path leads there.
TEST_P(PackOddTarget, IsRefusedSayingWhatItIsAndNothingMoves) {
    const TempDir dir;
    const std::string target = GetParam().make(dir);
    const auto before = namesIn(dir.path());
    const std::string index = (dir.path() / "skills.idx").string();
    const CommandRun run = runPack({"--data", target, "--index", index, "--force"}, "[x] Quill\n");
    EXPECT_EQ(run.status, 1);
    // A link's path is given with the path it resolves to.
    EXPECT_TRUE(run.err.starts_with("quorrel-pack: cannot write \"" + target + "\""));
    EXPECT_TRUE(run.err.ends_with(std::string(": ") + GetParam().words + "\n")) << run.err;
    EXPECT_EQ(namesIn(dir.path()), before);
}

std::string folderHolding(const TempDir& dir, const std::string& name) {
    fs::create_directory(dir.path() / "uo");
    dir.write("uo/skills.mul", std::vector<std::uint8_t>{1, 2, 3});
    return (dir.path() / name).string();
}

std::vector<OddTarget> oddTargets() {
    std::vector<OddTarget> targets = {
        {"a folder", [](const TempDir& dir) { return folderHolding(dir, "uo"); },
         "it is a folder, not a regular file"},
        // It would be removed as the index's lock when the run ends.
        {"the index's lock",
         [](const TempDir& dir) { return (dir.path() / ".skills.idx.quorrel-lock").string(); },
         "it is named as quorrel-pack's own lock beside \"skills.idx\", and such a name is never "
         "a target"}};
#ifdef _WIN32
    targets.push_back({"NUL", [](const TempDir&) { return std::string("NUL"); },
                       "it is a device or a pipe, not a regular file"});
#else
    targets.push_back({"a link to a folder",
                       [](const TempDir& dir) {
                           const std::string link = folderHolding(dir, "link");
                           fs::create_directory_symlink(dir.path() / "uo", link);
                           return link;
                       },
                       "it is a folder, not a regular file"});
    targets.push_back({"a pipe",
                       [](const TempDir& dir) {
                           const std::string pipe = (dir.path() / "pipe").string();
                           ::mkfifo(pipe.c_str(), 0600);
                           return pipe;
                       },
                       "it is a pipe, not a regular file"});
    targets.push_back({"/dev/null", [](const TempDir&) { return std::string("/dev/null"); },
                       "it is a character device, not a regular file"});
#endif
    return targets;
}

INSTANTIATE_TEST_SUITE_P(Targets, PackOddTarget, ::testing::ValuesIn(oddTargets()), NumberedCase());

struct TwoNames {
    const char* data;
    const char* index;
    bool existing;
    bool force;
};

void PrintTo(const TwoNames& names, std::ostream* out) {
    *out << names.data << " and " << names.index << (names.existing ? ", existing" : "")
         << (names.force ? ", --force" : "");
}

class PackOneFileTwice : public ::testing::TestWithParam<TwoNames> {};

// Whether or not the file exists yet, and with or without --force: it would end up holding the
// index alone.
TEST_P(PackOneFileTwice, IsRefusedAndNothingIsWritten) {
    const TempDir dir;
    if (GetParam().existing) {
        writeTable(dir, mixedTable());
    }
    const auto before = namesIn(dir.path());
    const std::string data = (dir.path() / GetParam().data).string();
    const std::string index = (dir.path() / GetParam().index).string();
    std::vector<std::string> arguments = {"--data", data, "--index", index};
    if (GetParam().force) {
        arguments.push_back("--force");
    }
    const CommandRun run = runPack(arguments, "[x] Quill\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "quorrel-pack: --data \"" + data + "\" and --index \"" + index +
                           "\" are the same file\n");
    EXPECT_EQ(namesIn(dir.path()), before);
}

std::vector<TwoNames> twoNames() {
    std::vector<TwoNames> names = {{"skills.mul", "skills.mul", false, false},
                                   {"skills.mul", "./skills.mul", true, true},
                                   {"skills.mul", "./skills.mul", false, false},
                                   {"skills.mul", "./skills.mul", false, true}};
#ifdef _WIN32
    names.push_back({"skills.mul", "SKILLS.MUL", false, true});
    names.push_back({"skills.mul", "skills.mul.", false, true});
#endif
    return names;
}

INSTANTIATE_TEST_SUITE_P(Paths, PackOneFileTwice, ::testing::ValuesIn(twoNames()), NumberedCase());

// The list would be read, then replaced by the table.
TEST(PackOneFileTwice, TheListIsNeverATarget) {
    const TempDir dir;
    const auto paths = writeTable(dir, mixedTable());
    const std::string list = dir.write("list.txt", bytesOf("[x] Quill\n"));
    const std::string listAgain = (dir.path() / "." / "list.txt").string();
    for (const auto& [option, target] :
         {std::pair("--data", list), std::pair("--index", listAgain)}) {
        std::vector<std::string> arguments = {"--data", paths.data, "--index", paths.index,
                                              "--from", list,       "--force"};
        arguments[option == std::string("--data") ? 1 : 3] = target;
        const CommandRun run = runPack(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "quorrel-pack: --from \"" + list + "\" and " + option + " \"" + target +
                               "\" are the same file\n");
        EXPECT_EQ(contentsOf(list), "[x] Quill\n");
    }
}

#ifndef _WIN32
// Drive-letter paths name files that Windows programs open through Wine, which finds a name
// whatever its case: two spellings of one name are one file there, even before it exists.
TEST(PackOneFileTwice, TwoCasesOfADriveLetterNameAreOneFile) {
    const TempDir prefix;
    fs::create_directories(prefix.path() / "drive_c" / "Game");
    const ScopedVariable winePrefix("WINEPREFIX", prefix.path().string());
    const CommandRun run = runPack(
        {"--data", "c:\\game\\skills.mul", "--index", "C:\\GAME\\SKILLS.MUL"}, "[x] Quill\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("are the same file"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::is_empty(prefix.path() / "drive_c" / "Game"));
}

// --from is looked up in the prefix as --data and --index are, in any case.
TEST(PackFrom, ADriveLetterListIsReadFromThePrefix) {
    const TempDir prefix;
    fs::create_directories(prefix.path() / "drive_c" / "G");
    const ScopedVariable winePrefix("WINEPREFIX", prefix.path().string());
    const TempDir dir;
    writeFile(prefix.path() / "drive_c" / "G" / "List.txt", bytesOf("[x] Quill\n"));
    const CommandRun run = runPack({"--data", (dir.path() / "s.mul").string(), "--index",
                                    (dir.path() / "s.idx").string(), "--from", "c:\\g\\list.txt"},
                                   "");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(runDumpOf({(dir.path() / "s.mul").string(), (dir.path() / "s.idx").string()}).out,
              "[x] Quill\n");
}
#endif

// A list that cannot be read is said as such, named once, and nothing is written: a folder, and
// on Linux a file whose first read fails.
TEST(PackFrom, AListThatCannotBeReadIsSaidAsSuch) {
    const TempDir dir;
    std::vector<std::pair<std::string, std::string>> unreadable = {
        {dir.path().string(), "it is a folder"}};
#ifdef __linux__
    unreadable.emplace_back("/proc/self/mem", "Input/output error");
#endif
    for (const auto& [list, why] : unreadable) {
        const CommandRun run = runPack({"--data", (dir.path() / "s.mul").string(), "--index",
                                        (dir.path() / "s.idx").string(), "--from", list},
                                       "");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "quorrel-pack: cannot read \"" + list + "\": " + why + "\n");
        EXPECT_FALSE(fs::exists(dir.path() / "s.mul"));
    }
}

// Stops quorrel-pack at each of its file system operations in turn, as a kill would: the pair
// then reads as the old table or the new one, quorrel-dump reports any backup that holds old
// files, packing again leaves the new table with only those backups beside it, and the command
// it reports puts the old table back.
TEST(PackStopped, AtAnyMomentLeavesTheOldTableOrTheNewOne) {
    std::size_t restored = 0;
    for (std::size_t nth = 1;; ++nth) {
        const TempDir dir;
        const auto paths = writeTable(dir, mixedTable());
        const std::vector<std::string> arguments = {"--data", paths.data, "--index", paths.index,
                                                    "--force"};
        const bool stopped = packStoppedAt(nth, arguments);

        const CommandRun now = runDumpOf(paths);
        EXPECT_EQ(now.status, 0) << "stop #" << nth << ": " << now.err;
        EXPECT_TRUE(now.out == kMixedTableText || now.out == kNewList)
            << "stop #" << nth << ": " << now.out;
        // CSV keeps the whole table: its dump says nothing on standard error but kept files.
        const CommandRun nowInCsv = runDumpOf(paths, "csv");
        const CommandRun again = runPack(arguments, kNewList);
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(dump(paths, "text"), kNewList);
        // What is left beside the pair is what the second run reported, and dump before it.
        const std::size_t reported = namesIn(dir.path()).size() - 2;
        EXPECT_EQ(reported == 0, again.err.empty()) << "stop #" << nth << ": " << again.err;
        EXPECT_EQ(reported == 0, nowInCsv.err.empty()) << "stop #" << nth << ": " << nowInCsv.err;
        for (const std::string& name : namesIn(dir.path())) {
            EXPECT_TRUE(name.starts_with("skills.") || again.err.find(name) != std::string::npos)
                << "stop #" << nth << ": " << name << " was left unreported";
        }
        // The command reported puts the table from before the stopped run back.
        if (const auto at = again.err.find("to put them back: "); at != std::string::npos) {
            const std::string command =
                again.err.substr(at + 18, again.err.find('\n', at) - at - 18);
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            EXPECT_EQ(dump(paths, "text"), kMixedTableText) << "stop #" << nth << ": " << command;
            ++restored;
        }
        if (!stopped) {
            EXPECT_EQ(reported, 0u);
            break;
        }
        ASSERT_LT(nth, 100u);
    }
    EXPECT_GT(restored, 0u) << "no stop left a backup to put back";
}

struct LookFailure {
    const char* what;
    std::size_t failingRead;    // this read of the old files fails
    std::size_t failingRename;  // this rename fails, and from then on no path's status can be had
    int status;
    bool oldTableLeft;    // the pair reads as the old table afterwards, else as the new one
    std::size_t renames;  // renames made, the failing one among them
    ::testing::Matcher<const std::string&> said;  // what quorrel-pack says
};

void PrintTo(const LookFailure& failure, std::ostream* out) {
    *out << failure.what;
}

class PackLookFailure : public ::testing::TestWithParam<LookFailure> {};

// What a failing disk does to the questions a run asks, made to happen through the fault layer:
// old files that cannot be read are still replaced, only without the padded order, which needs
// their bytes (two renames, not five); and a target the undo cannot look at is never touched, as
// it may no longer be the file the run put there: the pair still reads as the old table (the
// padded data file beside the old index), and where the old files are kept is said.
TEST_P(PackLookFailure, LeavesATableAndSaysWhatItLeft) {
    const LookFailure& c = GetParam();
    const TempDir dir;
    const auto paths = writeTable(dir, mixedTable());
    const auto reads = std::make_shared<fault::ReadFaults>();
    reads->failingRead = c.failingRead;
    const auto writes = std::make_shared<fault::WriteFaults>();
    writes->failingRename = c.failingRename;
    writes->beforeFailingRename = [faults = writes.get()] { faults->statusesFail = true; };
    fault::FaultyWrites writing(writes);
    fault::FaultyReads reading(reads, writing);
    const CommandRun run =
        runPackWith(reading, {"--data", paths.data, "--index", paths.index, "--force"}, kNewList);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_THAT(run.err, c.said);
    EXPECT_EQ(writes->renamesMade, c.renames);
    EXPECT_EQ(dump(paths, "text"), c.oldTableLeft ? kMixedTableText : kNewList);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PackLookFailure,
    ::testing::Values(
        LookFailure{"the old data file cannot be read", 1, 0, 0, false, 2, ""},
        LookFailure{"the undo cannot look at the data file", 0, 2, 1, true, 2,
                    ::testing::AllOf(
                        HasSubstr("is no longer the file this run put there, so it is left as it "
                                  "is; the old \""),
                        HasSubstr(" is kept as \""))}),
    NumberedCase());

}  // namespace
}  // namespace quorrel::testing
