// Writing two files all or nothing, with every write, flush and rename made to fail in turn.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ExpectFailure.h"
#include "FileSystemWrapper.h"
#include "Files.h"
#include "NumberedCase.h"
#include "OneVersionEach.h"
#include "TempDir.h"
#include "WriteFaults.h"
#include "runtime/base/Failure.h"
#include "runtime/replace/FileReplacement.h"
#include "runtime/replace/InterruptedRuns.h"
#include "runtime/replace/TargetLocks.h"

namespace quorrel {
namespace {

using fault::FaultyWrites;
using fault::WriteFaults;
using testing::bytesOf;
using testing::contentsOf;
using testing::namesIn;

// Two targets in a scratch folder, written through a writer whose faults the test sets.
class TwoFiles {
  public:
    explicit TwoFiles(bool withOldFiles) {
        if (withOldFiles) {
            dir_.write("skills.mul", bytesOf("old data"));
            dir_.write("skills.idx", bytesOf("old index"));
        }
    }

    // Writes the new contents, each file once or, with `inSteps`, through versions of their own
    // first, as a swap of tables does; the failure it raised, if any, and the notes it gave.
    std::optional<Failure> write(bool inSteps = false) {
        const auto targets = this->targets();
        std::vector<FileVersion> versions = {{0, {newData_}}, {1, {newIndex_}}};
        if (inSteps) {
            versions = {{0, {step_, newData_}},
                        {1, {step_}},
                        {0, {newData_, step_}},
                        {1, {newIndex_}},
                        {0, {newData_}}};
        }
        return testing::failureOf([&] { notes_ = replaceFiles(writer_, targets, versions); });
    }

    const std::vector<std::string>& notes() const { return notes_; }

    std::string path(const std::string& name) const { return (dir_.path() / name).string(); }
    std::optional<std::string> data() const { return contentsOf(path("skills.mul")); }
    std::optional<std::string> index() const { return contentsOf(path("skills.idx")); }
    std::set<std::string> names() const { return namesIn(dir_.path()); }
    WriteFaults& faults() { return *faults_; }
    std::array<LocalPath, 2> paths() const {
        return {LocalPath{path("skills.mul"), path("skills.mul")},
                LocalPath{path("skills.idx"), path("skills.idx")}};
    }
    std::array<LookedAt, 2> targets() {
        const auto both = paths();
        return {lookAtTarget(writer_, both[0]), lookAtTarget(writer_, both[1])};
    }

  private:
    testing::TempDir dir_;
    std::shared_ptr<WriteFaults> faults_ = std::make_shared<WriteFaults>();
    FaultyWrites writer_{faults_};
    std::vector<std::uint8_t> newData_ = bytesOf("new data");
    std::vector<std::uint8_t> newIndex_ = bytesOf("new index");
    std::vector<std::uint8_t> step_ = bytesOf(" on the way");
    std::vector<std::string> notes_;
};

enum class Operation { Write, Flush, Keep, Rename };

void failThe(WriteFaults& faults, Operation operation, std::size_t nth) {
    (operation == Operation::Write   ? faults.failingWrite
     : operation == Operation::Flush ? faults.failingFlush
     : operation == Operation::Keep  ? faults.failingKeep
                                     : faults.failingRename) = nth;
}

struct Sweep {
    Operation operation;
    bool withOldFiles;
    bool inSteps = false;
};

void PrintTo(const Sweep& sweep, std::ostream* out) {
    const char* names[] = {"write", "flush", "keep", "rename"};
    *out << names[static_cast<int>(sweep.operation)]
         << (sweep.withOldFiles ? " over old files" : " into an empty folder")
         << (sweep.inSteps ? " in steps" : "");
}

class FailingOperation : public ::testing::TestWithParam<Sweep> {};

// Fails the first such operation, then the second, and so on, until a run makes fewer than that;
// the one run without a failure must then have written both files.
TEST_P(FailingOperation, LeavesTheOldFilesWholeAndNothingElseBehind) {
    const Sweep sweep = GetParam();
    for (std::size_t nth = 1;; ++nth) {
        TwoFiles files(sweep.withOldFiles);
        const auto before = files.names();
        failThe(files.faults(), sweep.operation, nth);
        const auto failure = files.write(sweep.inSteps);
        if (!failure) {
            EXPECT_GT(nth, 1u) << "no such operation was made";
            EXPECT_EQ(files.data(), "new data");
            EXPECT_EQ(files.index(), "new index");
            EXPECT_EQ(files.names().size(), 2u);
            break;
        }
        EXPECT_EQ(failure->kind(), FailureKind::WriteError);
        EXPECT_NE(failure->description().find("(injected)"), std::string::npos);
        const std::optional<std::string> none;
        EXPECT_EQ(files.data(), sweep.withOldFiles ? "old data" : none) << "failing #" << nth;
        EXPECT_EQ(files.index(), sweep.withOldFiles ? "old index" : none) << "failing #" << nth;
        EXPECT_EQ(files.names(), before) << "failing #" << nth;
        ASSERT_LT(nth, 20u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Each, FailingOperation,
    ::testing::Values(Sweep{Operation::Write, true}, Sweep{Operation::Flush, true},
                      Sweep{Operation::Keep, true}, Sweep{Operation::Rename, true},
                      Sweep{Operation::Rename, false}, Sweep{Operation::Keep, true, true},
                      Sweep{Operation::Rename, true, true}, Sweep{Operation::Rename, false, true}),
    testing::NumberedCase());

TEST(FileReplacement, ARestoreThatFailsSaysWhereTheOldFileIsKept) {
    TwoFiles files(true);
    // The new data file takes the old one's place (rename 1); the index's rename and every
    // restore after it fail.
    files.faults().failingRename = 2;
    files.faults().laterRenamesFail = true;
    const auto failure = files.write();
    ASSERT_TRUE(failure);
    const std::string message = failure->description();
    const auto kept = message.find("is kept as \"");
    ASSERT_NE(kept, std::string::npos) << message;
    const auto backupStart = kept + 12;
    const std::string backup =
        message.substr(backupStart, message.find('"', backupStart) - backupStart);
    EXPECT_EQ(contentsOf(backup), "old data");
    EXPECT_EQ(files.index(), "old index");
}

// A backup that cannot be removed once the new files are in place is said, and never left to be
// taken for a stopped run's: renamed as a temporary file, which the next run removes, or, when
// that fails too, named for the user to delete.
TEST(FileReplacement, ABackupThatCannotBeRemovedIsSaidAndNotTakenForAStoppedRunsLater) {
    for (const bool renameFails : {false, true}) {
        TwoFiles files(true);
        files.faults().failingRemove = 1;
        if (renameFails) {
            files.faults().failingRename = 3;  // after the two files' own renames
        }
        ASSERT_EQ(files.write(), std::nullopt);
        EXPECT_EQ(files.data(), "new data");
        ASSERT_EQ(files.notes().size(), 1u);
        const std::string& note = files.notes()[0];
        EXPECT_NE(note.find("the old \"" + files.path("skills.mul") + "\""), std::string::npos)
            << note;
        EXPECT_EQ(files.names().size(), 3u);
        const LeftBeside left = findKeptFiles(FileSystem::native(), files.targets());
        if (renameFails) {
            EXPECT_NE(note.find("delete it"), std::string::npos) << note;
        } else {
            EXPECT_NE(note.find("which the next run removes"), std::string::npos) << note;
            EXPECT_TRUE(left.kept.empty() && left.unexpected.empty());
        }
    }
}

// The second rename finds the first target replaced by another program, then fails.
TEST(FileReplacement, NeverPutsTheOldFileBackOverOneItDidNotPutThere) {
    TwoFiles files(true);
    const auto faults = std::make_shared<WriteFaults>();
    faults->failingRename = 2;
    faults->beforeFailingRename = [foreign = files.path("skills.mul")] {
        testing::writeFile(foreign + ".theirs", bytesOf("someone else's"));
        std::filesystem::rename(foreign + ".theirs", foreign);
    };
    FaultyWrites writer(faults);
    const std::vector<std::uint8_t> bytes = bytesOf("new");
    const auto paths = files.paths();
    const std::array<FileContents, 2> contents = {FileContents{paths[0], bytes},
                                                  FileContents{paths[1], bytes}};
    EXPECT_FAILURE(replaceFiles(writer, contents), FailureKind::WriteError,
                   ::testing::AllOf(testing::HasSubstr("no longer the file this run put there"),
                                    testing::HasSubstr("is kept as")));
    EXPECT_EQ(files.data(), "someone else's");
    EXPECT_EQ(files.index(), "old index");
}

// Two runs on one file take turns: the second waits, says so once, and gets the lock as soon as
// the first lets it go, the lock file then gone with it.
TEST(FileReplacement, ALockIsHeldByOneRunAtATime) {
    const testing::TempDir dir;
    const std::string lockPath = (dir.path() / ".skills.mul.quorrel-lock").string();
    auto first =
        takeLock(FileSystem::native(), lockPath, [] { ADD_FAILURE() << "the first run waited"; });
    std::promise<void> waiting;
    int waits = 0;
    std::thread second([&] {
        const auto held = takeLock(FileSystem::native(), lockPath, [&] {
            ++waits;
            waiting.set_value();
        });
    });
    waiting.get_future().wait();
    first.reset();
    second.join();
    EXPECT_EQ(waits, 1);
    EXPECT_FALSE(std::filesystem::exists(lockPath));
}

// How one try at a lock goes, as a file system answers it.
enum class Try { Busy, Removed, Unlookable };

// A file system whose first tries at a lock answer as the script says; later ones take it.
class ScriptedLocks final : public fault::FileSystemWrapper {
  public:
    explicit ScriptedLocks(std::vector<Try> script)
        : FileSystemWrapper(FileSystem::native()), script_(std::move(script)) {}

    LockAttempt tryLock(const std::string& local) override {
        if (next_ == script_.size()) {
            return FileSystemWrapper::tryLock(local);
        }
        switch (script_[next_++]) {
            case Try::Busy:
                return {nullptr, true, {}};
            case Try::Removed:
                return {nullptr, false, {}};
            case Try::Unlookable:
                break;
        }
        return {nullptr, false, "cannot look at it: Input/output error"};
    }

  private:
    std::vector<Try> script_;
    std::size_t next_ = 0;
};

struct LockCase {
    std::vector<Try> script;
    int waitsSaid;
    const char* failure;  // what taking the lock fails with; nullptr when it is taken
};

class LockRule : public ::testing::TestWithParam<LockCase> {};

// The waiting, the one word of it and the giving up are the same on every system: the native
// halves only try once.
TEST_P(LockRule, WaitsSaysSoOnceAndGivesUpOnlyOnALockItCannotSettle) {
    const LockCase& lock = GetParam();
    const testing::TempDir dir;
    ScriptedLocks fileSystem(lock.script);
    int waits = 0;
    const auto take = [&] {
        return takeLock(fileSystem, (dir.path() / ".s.quorrel-lock").string(), [&] { ++waits; });
    };
    if (lock.failure == nullptr) {
        EXPECT_NE(take(), nullptr);
    } else {
        EXPECT_FAILURE(take(), FailureKind::WriteError, ::testing::HasSubstr(lock.failure));
    }
    EXPECT_EQ(waits, lock.waitsSaid);
}

INSTANTIATE_TEST_SUITE_P(
    Locks, LockRule,
    ::testing::Values(
        // quorrel-dump holds a lock a moment to ask: one busy try is no other run.
        LockCase{{Try::Busy}, 0, nullptr},
        LockCase{{Try::Busy, Try::Busy, Try::Busy, Try::Busy}, 1, nullptr},
        LockCase{{Try::Removed, Try::Unlookable, Try::Busy, Try::Busy}, 1, nullptr},
        LockCase{std::vector<Try>(99, Try::Removed), 0, nullptr},
        LockCase{std::vector<Try>(100, Try::Removed), 0,
                 "it was removed or replaced each of 100 times it was taken"},
        LockCase{[] {
                     std::vector<Try> script(99, Try::Removed);
                     script.push_back(Try::Unlookable);
                     return script;
                 }(),
                 0, "cannot look at it: Input/output error"}),
    testing::NumberedCase());

}  // namespace
}  // namespace quorrel
