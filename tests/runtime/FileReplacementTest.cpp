// Writing two files all or nothing, with every write, flush and rename made to fail in turn.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>

#include "NumberedCase.h"
#include "TempDir.h"
#include "WriteFaults.h"
#include "runtime/Failure.h"
#include "runtime/FileReplacement.h"

namespace quorrel {
namespace {

using fault::FaultyFileWriter;
using fault::WriteFaults;

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::optional<std::string> contentsOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Two targets in a scratch folder, written through a writer whose faults the test sets.
class TwoFiles {
  public:
    explicit TwoFiles(bool withOldFiles) {
        if (withOldFiles) {
            dir_.write("skills.mul", bytesOf("old data"));
            dir_.write("skills.idx", bytesOf("old index"));
        }
    }

    // Writes the new contents; the failure it raised, if any.
    std::optional<Failure> write(ExistingFiles existing) {
        const std::array<FileContents, 2> files = {
            FileContents{writer_.locate(path("skills.mul")), newData_},
            FileContents{writer_.locate(path("skills.idx")), newIndex_}};
        try {
            replaceFiles(writer_, files, existing);
        } catch (const Failure& failure) {
            return failure;
        }
        return std::nullopt;
    }

    std::string path(const std::string& name) const { return (dir_.path() / name).string(); }
    std::optional<std::string> data() const { return contentsOf(path("skills.mul")); }
    std::optional<std::string> index() const { return contentsOf(path("skills.idx")); }
    std::set<std::string> names() const { return namesIn(dir_.path()); }
    WriteFaults& faults() { return *faults_; }

  private:
    testing::TempDir dir_;
    std::shared_ptr<WriteFaults> faults_ = std::make_shared<WriteFaults>();
    FaultyFileWriter writer_{faults_};
    std::vector<std::uint8_t> newData_ = bytesOf("new data");
    std::vector<std::uint8_t> newIndex_ = bytesOf("new index");
};

enum class Operation { Write, Flush, Rename };

void failThe(WriteFaults& faults, Operation operation, std::size_t nth) {
    (operation == Operation::Write   ? faults.failingWrite
     : operation == Operation::Flush ? faults.failingFlush
                                     : faults.failingRename) = nth;
}

struct Sweep {
    Operation operation;
    bool withOldFiles;
};

void PrintTo(const Sweep& sweep, std::ostream* out) {
    const char* names[] = {"write", "flush", "rename"};
    *out << names[static_cast<int>(sweep.operation)]
         << (sweep.withOldFiles ? " over old files" : " into an empty folder");
}

class FailingOperation : public ::testing::TestWithParam<Sweep> {};

// Fails the first such operation, then the second, and so on, until a run makes fewer than that;
// the one run without a failure must then have written both files.
TEST_P(FailingOperation, LeavesTheOldFilesWholeAndNothingElseBehind) {
    const Sweep sweep = GetParam();
    const auto existing = sweep.withOldFiles ? ExistingFiles::Replace : ExistingFiles::Refuse;
    for (std::size_t nth = 1;; ++nth) {
        TwoFiles files(sweep.withOldFiles);
        const auto before = files.names();
        failThe(files.faults(), sweep.operation, nth);
        const auto failure = files.write(existing);
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
        ASSERT_LT(nth, 10u);
    }
}

INSTANTIATE_TEST_SUITE_P(Each, FailingOperation,
                         ::testing::Values(Sweep{Operation::Write, true},
                                           Sweep{Operation::Flush, true},
                                           Sweep{Operation::Rename, true},
                                           Sweep{Operation::Rename, false}),
                         testing::NumberedCase());

TEST(FileReplacement, ARestoreThatFailsSaysWhereTheOldFileIsKept) {
    TwoFiles files(true);
    // The data file's old contents move aside (rename 1) and the new take its place (rename 2);
    // the index's rename and every restore after it fail.
    files.faults().failingRename = 3;
    files.faults().laterRenamesFail = true;
    const auto failure = files.write(ExistingFiles::Replace);
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

TEST(FileReplacement, RefusesExistingFilesUnlessToldToReplaceThem) {
    TwoFiles files(true);
    const auto refused = files.write(ExistingFiles::Refuse);
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->description().find("skills.mul\" already exists"), std::string::npos)
        << refused->description();
    EXPECT_EQ(files.data(), "old data");
    EXPECT_EQ(files.faults().writesMade, 0u);
}

}  // namespace
}  // namespace quorrel
