#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <new>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ExpectFailure.h"
#include "NumberedCase.h"
#include "RecordingHost.h"
#include "SkillTables.h"
#include "SystemReason.h"
#include "TableBytes.h"
#include "skills/SkillFileLayout.h"

namespace quorrel {
namespace {

using testing::namesOf;
using testing::RecordingHost;

using testing::kDowsing;
using testing::kGilding;
using testing::kJoineryOffset;
using testing::kMax;
using testing::kMin;
using testing::kThreeSkills;

constexpr IndexRecord kEmpty{-1, 9, 0};

// A run over the three skills' data file that fails at one index record.
struct FailingRecord {
    std::string what;
    std::vector<IndexRecord> records;
    bool dataFileMissing;
    FailureKind kind;
    std::vector<std::string> itemsBefore;
    int failingRecord;            // 0-based, counting empty slots too
    std::string detail;           // what the description must say besides the record
    std::optional<int> flagRead;  // the flag the failing record read before it failed
    bool namesDataFile = false;   // a failure of the data file itself names it too
};

void PrintTo(const FailingRecord& c, std::ostream* out) {
    *out << c.what;
}

class FailingRecordTest : public ::testing::TestWithParam<FailingRecord> {
  protected:
    testing::SkillTables tables;
};

// The failure has its kind and a description that leads with what is wrong and ends with the
// 0-based record and the index file; the items before it stay, and no file is left open.
TEST_P(FailingRecordTest, RaisesItsKindAndKeepsWhatCameBefore) {
    const FailingRecord& c = GetParam();
    const std::string dataPath =
        c.dataFileMissing ? tables.pathOf("absent.mul")
                          : tables.writeFile("skills.mul", gameClientLayout(kThreeSkills).data);
    const std::string indexPath = tables.writeIndex(c.records);
    RecordingHost host(dataPath, indexPath);

    const std::optional<Failure> failure = tables.load(host);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failureKindName(failure->kind()), failureKindName(c.kind));
    const std::string description = failure->description();
    const std::string place =
        "record " + std::to_string(c.failingRecord) + " of \"" + indexPath + "\")";
    EXPECT_TRUE(description.ends_with(place)) << description;
    EXPECT_LT(description.find(c.detail), description.find(place)) << description;

    EXPECT_EQ(namesOf(host.list().items()), c.itemsBefore);
    EXPECT_TRUE(host.list().calls("ListIndex").empty());
    EXPECT_EQ(tables.files().openCount(), 0u);
    if (c.flagRead) {
        EXPECT_EQ(host.fields().flag, *c.flagRead);
    }
    if (c.namesDataFile) {
        EXPECT_NE(description.find(dataPath), std::string::npos) << description;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Records, FailingRecordTest,
    ::testing::Values(FailingRecord{"offset 2147483647 in the third used record",
                                    {kDowsing, kEmpty, kGilding, {kMax, 9, 0}, kDowsing},
                                    false,
                                    FailureKind::Overflow,
                                    {"Dowsing", "Gilding"},
                                    3,
                                    "offset 2147483647",
                                    std::nullopt},
                      FailingRecord{"length -2147483648 after the flag is read",
                                    {kDowsing, {kJoineryOffset, kMin, 0}},
                                    false,
                                    FailureKind::Overflow,
                                    {"Dowsing"},
                                    1,
                                    "length -2147483648",
                                    255},
                      FailingRecord{"length -5",
                                    {kGilding, {kJoineryOffset, -5, 0}},
                                    false,
                                    FailureKind::BufferBounds,
                                    {"Gilding"},
                                    1,
                                    "length -5",
                                    255},
                      FailingRecord{"length -1",
                                    {{kJoineryOffset, -1, 0}},
                                    false,
                                    FailureKind::BufferBounds,
                                    {},
                                    0,
                                    "length -1",
                                    255},
                      FailingRecord{"offset -2",
                                    {kDowsing, kGilding, kEmpty, {-2, 9, 0}},
                                    false,
                                    FailureKind::BadReadPosition,
                                    {"Dowsing", "Gilding"},
                                    3,
                                    "offset -2",
                                    std::nullopt,
                                    true},
                      FailingRecord{"offset -2147483648",
                                    {{kMin, 9, 0}},
                                    false,
                                    FailureKind::BadReadPosition,
                                    {},
                                    0,
                                    "offset -2147483648",
                                    std::nullopt,
                                    true},
                      // Data that the index points past, as when the two files are swapped.
                      FailingRecord{"flag just past the end of the data file",
                                    {kDowsing, {27, 1, 0}},
                                    false,
                                    FailureKind::BadReadPosition,
                                    {"Dowsing"},
                                    1,
                                    "offset 27 lies past the end of",
                                    std::nullopt,
                                    true},
                      FailingRecord{"flag far past the end of the data file",
                                    {kEmpty, {1667329281, 1969449584, 0}},
                                    false,
                                    FailureKind::BadReadPosition,
                                    {},
                                    1,
                                    "are the two files the right way round?",
                                    std::nullopt,
                                    true},
                      FailingRecord{"missing data file at the first used record",
                                    {kEmpty, {5, 0, 0}, kDowsing},
                                    true,
                                    FailureKind::OpenRefused,
                                    {},
                                    2,
                                    testing::missingFileReason(),
                                    std::nullopt,
                                    true},
                      // The data file is opened before anything about the record is looked at.
                      FailingRecord{"missing data file before an offset overflow",
                                    {{kMax, 9, 0}},
                                    true,
                                    FailureKind::OpenRefused,
                                    {},
                                    0,
                                    "absent.mul",
                                    std::nullopt,
                                    true},
                      FailingRecord{"missing data file before a negative length",
                                    {{0, -5, 0}},
                                    true,
                                    FailureKind::OpenRefused,
                                    {},
                                    0,
                                    "absent.mul",
                                    std::nullopt,
                                    true}),
    testing::NumberedCase());

class LoadFailureTest : public testing::LoadTest {};

TEST_F(LoadFailureTest, MissingIndexFileIsRefusedNamingItAndTheReason) {
    const std::string indexPath = tables.pathOf("absent.idx");
    RecordingHost host(tables.pathOf("absent.mul"), indexPath);
    const std::optional<Failure> failure = tables.load(host);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->kind(), FailureKind::OpenRefused);
    EXPECT_NE(failure->description().find(indexPath), std::string::npos);
    EXPECT_NE(failure->description().find(testing::missingFileReason()), std::string::npos);
    EXPECT_EQ(host.list().log(), (std::vector<std::string>{"Clear", "read txtPathIdx"}));
    EXPECT_EQ(tables.files().openCount(), 0u);
}

// A folder named where a file belongs is refused with its path, not taken for an empty table.
TEST_F(LoadFailureTest, FolderInPlaceOfAFileIsRefusedNamingIt) {
    const std::string folder = tables.pathOf("a folder");
    std::filesystem::create_directory(folder);
    const std::string data = tables.writeFile("skills.mul", gameClientLayout(kThreeSkills).data);
    const std::string index = tables.writeIndex({kEmpty, kDowsing});
    for (const auto& [dataPath, indexPath] :
         std::vector<std::pair<std::string, std::string>>{{data, folder}, {folder, index}}) {
        RecordingHost host(dataPath, indexPath);
        const std::optional<Failure> failure = tables.load(host);
        ASSERT_TRUE(failure.has_value()) << "data " << dataPath << ", index " << indexPath;
        EXPECT_EQ(failure->kind(), FailureKind::OpenRefused);
        EXPECT_NE(failure->description().find(folder), std::string::npos) << failure->description();
        EXPECT_TRUE(host.list().items().empty());
        EXPECT_EQ(tables.files().openCount(), 0u);
    }
}

// A list operation that reports a failure ends the run with that failure.
struct ListFailure {
    std::string operation;
    int nthCall;
    FailureKind kind;
    std::vector<std::string> itemsBefore;
};

void PrintTo(const ListFailure& c, std::ostream* out) {
    *out << c.operation << " fails at call " << c.nthCall;
}

class ListFailureTest : public LoadFailureTest,
                        public ::testing::WithParamInterface<ListFailure> {};

TEST_P(ListFailureTest, EndsTheRunWithTheListsFailure) {
    const ListFailure& c = GetParam();
    RecordingHost host = hostFor({kDowsing, kEmpty, kGilding, {18, 9, 0}});
    host.list().failOn(c.operation, c.nthCall, Failure(c.kind, "the list says no"));
    const std::optional<Failure> failure = tables.load(host);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->kind(), c.kind);
    EXPECT_NE(failure->description().find("the list says no"), std::string::npos);
    EXPECT_EQ(namesOf(host.list().items()), c.itemsBefore);
    EXPECT_EQ(host.list().log().back().rfind(c.operation, 0), 0u) << "the run went on";
    EXPECT_EQ(tables.files().openCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ListFailureTest,
    ::testing::Values(
        ListFailure{"Clear", 1, FailureKind::ListOperation, {}},
        ListFailure{"AddItem", 1, FailureKind::ListOperation, {}},
        ListFailure{"AddItem", 2, FailureKind::ListOperation, {"Dowsing"}},
        ListFailure{"Selected", 2, FailureKind::ListOperation, {"Dowsing", "Gilding"}},
        ListFailure{
            "ListIndex", 1, FailureKind::InvalidListIndex, {"Dowsing", "Gilding", "Joinery"}}),
    [](const auto& param) { return param.param.operation + std::to_string(param.param.nthCall); });

// A failed run leaves nothing open, so the next run on good files works from the same table.
TEST_F(LoadFailureTest, ARunAfterAFailureStartsAfresh) {
    RecordingHost host = hostFor({kDowsing, {kJoineryOffset, -5, 0}});
    ASSERT_TRUE(tables.load(host).has_value());
    host.setIndexPath(tables.writeIndex({kGilding}, "good.idx"));
    ASSERT_EQ(tables.load(host), std::nullopt);
    EXPECT_EQ(namesOf(host.list().items()), std::vector<std::string>{"Gilding"});
    EXPECT_EQ(host.fields().idxFileNo, 1);
    EXPECT_EQ(tables.files().openCount(), 0u);
}

// Memory running out as a list takes an item is a failure that says so, the same in every list
// (the windows' and quorrel-dump's), whichever of the two ways it shows.
TEST(AddItem, MemoryRunningOutIsAnOutOfMemoryFailure) {
    class FullList final : public SkillList {
      public:
        explicit FullList(std::function<void()> raise) : raise_(std::move(raise)) {}
        void Clear() override {}
        int NewIndex() const override { return -1; }

      protected:
        void appendItem(std::string) override { raise_(); }
        std::size_t itemCount() const override { return 0; }
        void checkItem(std::size_t, bool) override {}
        void makeCurrent(std::size_t) override {}

      private:
        std::function<void()> raise_;
    };
    for (const std::function<void()>& raise : std::vector<std::function<void()>>{
             [] { throw std::bad_alloc(); }, [] { throw std::length_error("vector"); }}) {
        FullList list(raise);
        EXPECT_FAILURE(list.AddItem(std::string("Quill\0more", 10)), FailureKind::OutOfMemory,
                       "cannot add an item of 5 bytes to the list: out of memory");
    }
}

}  // namespace
}  // namespace quorrel
