// What quorrel-dump --output writes to, what it keeps of the file it replaces, and what it leaves
// when it is stopped; the restore command quorrel-pack's kept files are offered with.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "FileSystemWrapper.h"
#include "Files.h"
#include "NumberedCase.h"
#include "SkillTableFiles.h"
#include "cli/KeptFilesReport.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

namespace quorrel::cli {
namespace {

namespace fs = std::filesystem;
using testing::TablePaths;
using testing::TempDir;

testing::CommandRun dumpTo(const TablePaths& paths, const std::string& output,
                           FileSystem& fileSystem = FileSystem::native()) {
    return testing::runDumpWith(fileSystem, {"--data", paths.data, "--index", paths.index,
                                             "--format", "csv", "--output", output});
}

struct OddOutput {
    const char* what;
    std::function<std::string(const TempDir&)> make;  // makes it; the path to give as --output
    const char* words;
};

void PrintTo(const OddOutput& output, std::ostream* out) {
    *out << output.what;
}

class DumpOddOutput : public ::testing::TestWithParam<OddOutput> {};

TEST_P(DumpOddOutput, IsRefusedSayingWhatItIsAndNothingIsWritten) {
    const TempDir dir;
    const TablePaths paths = writeTable(dir, testing::mixedTable());
    const std::string output = GetParam().make(dir);
    const auto before = testing::namesIn(dir.path());
    const auto run = dumpTo(paths, output);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "quorrel-dump: cannot write \"" + output + "\": " + GetParam().words + "\n");
    EXPECT_EQ(testing::namesIn(dir.path()), before);
}

std::vector<OddOutput> oddOutputs() {
    std::vector<OddOutput> outputs = {
        // A live run's lock, or a backup that may hold an old table's only copy.
        {"a lock's name",
         [](const TempDir& dir) { return (dir.path() / ".a.csv.quorrel-lock").string(); },
         "it is named as quorrel-pack's own lock beside \"a.csv\", and such a name is never a "
         "target"},
        {"a backup's name",
         [](const TempDir& dir) {
             return (dir.path() / ".a.csv.quorrel-old-0123456789abcdef-1").string();
         },
         "it is named as quorrel-pack's own backup beside \"a.csv\", and such a name is never a "
         "target"}};
#ifndef _WIN32
    outputs.push_back({"a dangling link",
                       [](const TempDir& dir) {
                           const std::string link = (dir.path() / "out.csv").string();
                           fs::create_symlink("gone.csv", link);
                           return link;
                       },
                       "it is a symbolic link to \"gone.csv\", which does not exist"});
    outputs.push_back({"a pipe",
                       [](const TempDir& dir) {
                           const std::string pipe = (dir.path() / "pipe").string();
                           ::mkfifo(pipe.c_str(), 0600);
                           return pipe;
                       },
                       "it is a pipe, not a regular file"});
#endif
    return outputs;
}

INSTANTIATE_TEST_SUITE_P(Outputs, DumpOddOutput, ::testing::ValuesIn(oddOutputs()),
                         testing::NumberedCase());

// A run killed while it wrote left its temporary file; the next one removes it, under the lock.
TEST(DumpOutput, RemovesWhatAKilledRunLeftBesideTheFile) {
    const TempDir dir;
    const TablePaths paths = writeTable(dir, testing::mixedTable());
    dir.write(".table.csv.quorrel-new-0123456789abcdef", testing::bytesOf("half a dump"));
    const auto run = dumpTo(paths, (dir.path() / "table.csv").string());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(testing::namesIn(dir.path()),
              (std::set<std::string>{"skills.idx", "skills.mul", "table.csv"}));
}

// cmd.exe expands %NAME% inside quotes too: a % stands outside them, escaped.
TEST(RestoreCommand, QuotesForCmdSoThatNoPercentIsExpanded) {
    EXPECT_EQ(cmdQuoted("C:\\Games\\skills.mul"), "\"C:\\Games\\skills.mul\"");
    EXPECT_EQ(cmdQuoted("C:\\100%\\%USERNAME%.mul"), "\"C:\\100\"^%\"\\\"^%\"USERNAME\"^%\".mul\"");
}

#ifndef _WIN32
// Says what the new file could not keep of the old one, and is still written. (Windows numbers
// no owner to name.)
TEST(DumpOutput, SaysInALineWhatTheNewFileDoesNotKeep) {
    class KeepsNothing final : public fault::FileSystemWrapper {
      public:
        KeepsNothing() : FileSystemWrapper(FileSystem::native()) {}
        unsigned keepAttributes(const std::string&, const std::string&) noexcept override {
            return kKeptOwner | kKeptAcl;
        }
        std::optional<std::string> userName(std::uint32_t) override { return "bob"; }
    } fileSystem;
    const TempDir dir;
    const TablePaths paths = writeTable(dir, testing::mixedTable());
    const std::string output = dir.write("table.csv", testing::bytesOf("old"));
    const auto run = dumpTo(paths, output, fileSystem);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.starts_with("quorrel-dump: the new \"" + output +
                                    "\" does not keep the old one's owner \"bob\" (uid "))
        << run.err;
    EXPECT_NE(run.err.find(") and access control list: this user may not give them to a file, or "
                           "the file system does not hold them\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(testing::contentsOf(output), testing::dump(paths, "csv"));
}

// "/dev/stdout >> log" appends to the log: written to as standard output, never replaced.
TEST(DumpOutput, StandardOutputByAnyOfItsNamesIsWrittenAsAStream) {
    const TempDir dir;
    const TablePaths paths = writeTable(dir, testing::mixedTable());
    for (const char* name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
        const auto run = dumpTo(paths, name);
        EXPECT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_EQ(run.out, testing::dump(paths, "csv")) << name;
    }
}

// A request to stop while the file is written: the old file as it was, nothing beside it.
TEST(DumpOutput, StoppedBySigtermLeavesTheFileAsItWas) {
    class StopsAtFirstWrite final : public fault::FileSystemWrapper {
      public:
        StopsAtFirstWrite() : FileSystemWrapper(FileSystem::native()) {}
        std::unique_ptr<WritableFile> createNew(const std::string& local) override {
            ::raise(SIGTERM);
            return FileSystemWrapper::createNew(local);
        }
    } fileSystem;
    const TempDir dir;
    const TablePaths paths = writeTable(dir, testing::mixedTable());
    const std::string output = dir.write("table.csv", testing::bytesOf("old"));
    const auto run = dumpTo(paths, output, fileSystem);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "quorrel-dump: stopped by SIGTERM; \"" + output + "\" is as it was\n");
    EXPECT_EQ(testing::contentsOf(output), "old");
    EXPECT_EQ(testing::namesIn(dir.path()),
              (std::set<std::string>{"skills.idx", "skills.mul", "table.csv"}));
}

// What sed -i keeps: the mode, and as root the owner, the group and extended attributes.
TEST(DumpOutput, TheNewFileKeepsWhatSedKeeps) {
    const TempDir dir;
    const TablePaths paths = writeTable(dir, testing::mixedTable());
    const std::string output = dir.write("table.csv", testing::bytesOf("old"));
    ::chmod(output.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    const bool withAttribute = ::setxattr(output.c_str(), "user.note", "kept", 4, 0) == 0;
    if (root) {
        ASSERT_EQ(::chown(output.c_str(), 65534, 65534), 0);
    }
    const auto run = dumpTo(paths, output);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    struct stat status {};
    ASSERT_EQ(::stat(output.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(status.st_uid, 65534u);
        EXPECT_EQ(status.st_gid, 65534u);
    }
    if (withAttribute) {
        char note[8] = {};
        EXPECT_EQ(::getxattr(output.c_str(), "user.note", note, sizeof note), 4);
        EXPECT_STREQ(note, "kept");
    }
    EXPECT_EQ(testing::contentsOf(output), testing::dump(paths, "csv"));
}
#endif

}  // namespace
}  // namespace quorrel::cli
