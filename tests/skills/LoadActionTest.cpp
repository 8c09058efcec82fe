#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "NumberedCase.h"
#include "RecordingHost.h"
#include "SkillTables.h"
#include "TableBytes.h"
#include "skills/SkillFileLayout.h"

namespace quorrel {
namespace {

using testing::bytesOf;
using testing::namesOf;
using testing::RecordingHost;

using testing::kDowsing;
using testing::kGilding;
using testing::kMax;
using testing::kMin;
using testing::kThreeSkills;

class LoadActionTest : public testing::LoadTest {};

TEST_F(LoadActionTest, RunsItsOperationsInOrder) {
    RecordingHost host = hostFor({kDowsing, {-1, 5, 0}, kGilding});
    ASSERT_EQ(tables.load(host), std::nullopt);
    EXPECT_EQ(
        host.list().log(),
        (std::vector<std::string>{"Clear", "read txtPathIdx", "read txtPath", "AddItem Dowsing",
                                  "NewIndex", "Selected 0 true", "read txtPath", "AddItem Gilding",
                                  "NewIndex", "Selected 1 false", "ListIndex 0"}));
    EXPECT_EQ(host.list().currentIndex(), 0);
    // The data file is opened while the index file is, under the next free number.
    EXPECT_EQ(host.fields().idxFileNo, 1);
    EXPECT_EQ(host.fields().dataFileNo, 2);
    EXPECT_EQ(tables.files().openCount(), 0u);
}

// Each item carries its record's number and flag byte beside the check mark the flag set.
TEST_F(LoadActionTest, CheckMarksFollowTheFlagByte) {
    const std::vector<SkillRecord> skills = {
        {"Zero", 0}, {"One", 1}, {"Max", 255}, {"Two", 2}, {"High", 128}};
    const auto layout = gameClientLayout(skills);
    RecordingHost host(tables.writeFile("skills.mul", layout.data),
                       tables.writeFile("skills.idx", layout.index));
    ASSERT_EQ(tables.load(host), std::nullopt);
    EXPECT_EQ(host.list().items(), (std::vector<SkillRow>{{0, "Zero", false, 0},
                                                          {1, "One", true, 1},
                                                          {2, "Max", true, 255},
                                                          {3, "Two", true, 2},
                                                          {4, "High", true, 128}}));
    EXPECT_EQ(host.list().calls("Selected"),
              (std::vector<std::string>{"Selected 0 false", "Selected 1 true", "Selected 2 true",
                                        "Selected 3 true", "Selected 4 true"}));
}

class EmptySlotTest : public LoadActionTest, public ::testing::WithParamInterface<IndexRecord> {};

// An empty slot adds nothing and opens nothing (the data path is not even read); the record
// after it is handled as usual, under its own number.
TEST_P(EmptySlotTest, AddsNothingAndOpensNothing) {
    RecordingHost host = hostFor({GetParam(), kGilding, GetParam()});
    ASSERT_EQ(tables.load(host), std::nullopt);
    EXPECT_EQ(host.list().items(), (std::vector<SkillRow>{{1, "Gilding", false, 0}}));
    EXPECT_EQ(host.dataPathReads(), 1u);
    EXPECT_EQ(host.list().currentIndex(), 0);
}

INSTANTIATE_TEST_SUITE_P(Slots, EmptySlotTest,
                         ::testing::Values(IndexRecord{-1, 5, 0}, IndexRecord{-1, 0, 0},
                                           IndexRecord{-1, -7, 0}, IndexRecord{-1, kMax, 0},
                                           IndexRecord{-1, kMin, 0}, IndexRecord{0, 0, 0},
                                           IndexRecord{9, 0, 0}, IndexRecord{-2, 0, 0},
                                           IndexRecord{kMax, 0, 0}, IndexRecord{kMin, 0, 7}),
                         testing::NumberedCase());

// How a data record becomes an item.
struct NameCase {
    std::string what;
    std::string data;
    IndexRecord record;
    SkillRow item;
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.what;
}

class NameTest : public LoadActionTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(NameTest, GivesTheItem) {
    const NameCase& c = GetParam();
    RecordingHost host(tables.writeFile("skills.mul", bytesOf(c.data)),
                       tables.writeIndex({c.record}));
    ASSERT_EQ(tables.load(host), std::nullopt) << c.what;
    EXPECT_EQ(host.list().items(), std::vector<SkillRow>{c.item}) << c.what;
    EXPECT_EQ(host.list().calls("AddItem"), std::vector<std::string>{"AddItem " + c.item.name})
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Records, NameTest,
    ::testing::Values(
        NameCase{
            "offset 0: flag is the first byte", "\x01Rowing", {0, 6, 0}, {0, "Rowing", true, 1}},
        NameCase{"length counts the name bytes after the flag",
                 std::string("\0Sailing", 8),
                 {0, 3, 0},
                 {0, "Sai", false, 0}},
        NameCase{"a record may lie anywhere",
                 "xxxxx\x01"
                 "Rafting",
                 {5, 7, 0},
                 {0, "Rafting", true, 1}},
        NameCase{
            "length 1 with a zero byte", std::string("\x01\0X", 3), {0, 1, 0}, {0, "", true, 1}},
        NameCase{"zero byte in the middle",
                 std::string("\x01Tai\0lwinds", 11),
                 {0, 10, 0},
                 {0, "Tai", true, 1}},
        NameCase{"no zero byte at all",
                 std::string("\0Whittling", 10),
                 {0, 9, 0},
                 {0, "Whittling", false, 0}},
        NameCase{
            "name runs past the end of the file", "\x01Lore", {0, 40, 0}, {0, "Lore", true, 1}},
        NameCase{"flag is the last byte of the file", "\x01Lore\x07", {5, 3, 0}, {0, "", true, 7}},
        NameCase{"Windows-1252 text",
                 "\x01S\xE9"
                 "ance \x80\x81",
                 {0, 9, 0},
                 {0, "S\u00E9ance \u20AC\u0081", true, 1}},
        NameCase{
            "a long name whose zero byte lies past the first mebibyte",
            std::string("\x01") + std::string(1536 * 1024, 'A') + std::string(1, '\0') + "Tail",
            {0, 3 * 1024 * 1024, 0},
            {0, std::string(1536 * 1024, 'A'), true, 1}},
        NameCase{"length 2147483647 on a small file",
                 std::string("\x01Lore\0", 6),
                 {0, kMax, 0},
                 {0, "Lore", true, 1}}),
    [](const auto& param) { return "Case" + std::to_string(param.index); });

// A huge length holds no more of the name than the data file can supply.
TEST_F(LoadActionTest, HugeLengthHoldsOnlyWhatTheFileCanSupply) {
    for (const std::int32_t offset : {0, 3, 5}) {
        RecordingHost host(tables.writeFile("skills.mul", bytesOf(std::string("\x01Lore\0", 6))),
                           tables.writeIndex({{offset, kMax, 0}}));
        ASSERT_EQ(tables.load(host), std::nullopt);
        ASSERT_EQ(host.list().items().size(), 1u);
        EXPECT_EQ(host.fields().name.count(), kMax);
        EXPECT_LE(host.fields().name.stored().size(), 5u) << "offset " << offset;
    }
}

TEST_F(LoadActionTest, ExtraHasNoEffect) {
    std::vector<std::vector<SkillRow>> lists;
    for (const std::uint32_t extra : {0u, 1u, 0xDEADBEEFu, 0xFFFFFFFFu}) {
        RecordingHost host = hostFor({{0, 9, extra}, {-1, 5, extra}, {18, 9, extra}});
        ASSERT_EQ(tables.load(host), std::nullopt);
        lists.push_back(host.list().items());
    }
    for (const auto& items : lists) {
        EXPECT_EQ(items,
                  (std::vector<SkillRow>{{0, "Dowsing", true, 1}, {2, "Joinery", true, 255}}));
    }
}

TEST_F(LoadActionTest, ASecondRunRebuildsTheList) {
    RecordingHost host = hostFor({kDowsing, kGilding, {18, 9, 0}});
    ASSERT_EQ(tables.load(host), std::nullopt);
    ASSERT_EQ(host.list().items().size(), 3u);

    const auto second = gameClientLayout(std::vector<SkillRecord>{{"Singing", 0}});
    host.setDataPaths({tables.writeFile("second.mul", second.data)});
    host.setIndexPath(tables.writeFile("second.idx", second.index));
    ASSERT_EQ(tables.load(host), std::nullopt);
    EXPECT_EQ(host.list().items(), (std::vector<SkillRow>{{0, "Singing", false, 0}}));
    EXPECT_EQ(host.list().currentIndex(), 0);
    EXPECT_EQ(host.list().calls("Clear").size(), 2u);
    EXPECT_EQ(tables.files().openCount(), 0u);
}

TEST_F(LoadActionTest, NoUsedRecordGivesAnEmptyListAndNoFailure) {
    const std::string missingData = tables.pathOf("absent.mul");
    for (const auto& records : std::vector<std::vector<IndexRecord>>{
             {}, {{-1, 9, 0}}, {{0, 0, 0}, {-1, 3, 0}, {kMax, 0, 0}}}) {
        RecordingHost host(missingData, tables.writeIndex(records));
        EXPECT_EQ(tables.load(host), std::nullopt) << records.size() << " records";
        EXPECT_TRUE(host.list().items().empty());
        EXPECT_EQ(host.list().currentIndex(), std::nullopt);
        EXPECT_EQ(host.list().log(), (std::vector<std::string>{"Clear", "read txtPathIdx"}));
        EXPECT_EQ(tables.files().openCount(), 0u);
    }
}

// Only whole 12-byte records are taken: a piece of 1 to 11 bytes at the end adds nothing, raises
// nothing, and does not repeat the last record.
TEST_F(LoadActionTest, TrailingPartialRecordIsIgnored) {
    const auto layout = gameClientLayout(kThreeSkills);
    const std::string dataPath = tables.writeFile("skills.mul", layout.data);
    const auto wholeRecords = indexBytes(std::vector<IndexRecord>{kDowsing, kGilding});
    const auto usedRecord = indexBytes(std::vector<IndexRecord>{{18, 9, 0}});
    for (std::size_t piece = 1; piece < 12; ++piece) {
        for (const bool pieceOfAUsedRecord : {true, false}) {
            auto index = wholeRecords;
            for (std::size_t i = 0; i < piece; ++i) {
                index.push_back(pieceOfAUsedRecord ? usedRecord[i] : std::uint8_t{0x01});
            }
            RecordingHost host(dataPath, tables.writeFile("skills.idx", index));
            EXPECT_EQ(tables.load(host), std::nullopt) << piece << " bytes";
            EXPECT_EQ(namesOf(host.list().items()),
                      (std::vector<std::string>{"Dowsing", "Gilding"}))
                << piece << " bytes";
            EXPECT_EQ(host.dataPathReads(), 2u) << piece << " bytes";
        }
    }
}

// Game clients count the flag, the name and its zero in `length`, so each name is read one byte
// into the next record and the last one a byte past the end of the file. Such a table loads in
// full.
TEST_F(LoadActionTest, GameClientLayoutLoadsInFull) {
    const std::vector<SkillRecord> skills = {
        {"Juggling", 1}, {"", 0}, {"Cloud Gazing", 0}, {"Tanning", 1}, {"Kite Flying", 255}};
    const auto layout = gameClientLayout(skills);
    RecordingHost host(tables.writeFile("skills.mul", layout.data),
                       tables.writeFile("skills.idx", layout.index));
    ASSERT_EQ(tables.load(host), std::nullopt);
    EXPECT_EQ(host.list().items(), (std::vector<SkillRow>{{0, "Juggling", true, 1},
                                                          {1, "", false, 0},
                                                          {2, "Cloud Gazing", false, 0},
                                                          {3, "Tanning", true, 1},
                                                          {4, "Kite Flying", true, 255}}));
    // The last name's read ended one byte past the end of the data file.
    EXPECT_EQ(host.fields().offset + 1 + host.fields().length,
              static_cast<std::int32_t>(layout.data.size()) + 1);
    EXPECT_EQ(tables.files().openCount(), 0u);
}

// A host whose data path takes a millisecond to read, so that a load of a few hundred records
// lasts long enough for a window to be let answer the system; it notes how many items the list
// held each time it was.
class SlowHost final : public LoadHost {
  public:
    SlowHost(std::string dataPath, std::string indexPath)
        : dataPath_(std::move(dataPath)), indexPath_(std::move(indexPath)) {}

    SkillList& lstSkills() override { return list_; }
    LoadFields& loadFields() override { return fields_; }
    std::string txtPathIdxText() const override { return indexPath_; }
    std::string txtPathText() const override {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return dataPath_;
    }
    void whileLoading() override { itemsWhenCalled.push_back(list_.items().size()); }

    std::vector<std::size_t> itemsWhenCalled;

  private:
    std::string dataPath_;
    std::string indexPath_;
    LoadFields fields_;
    MemorySkillList list_{fields_};
};

// The clock is looked at every 256 records, and the host called when a quarter of a second has
// passed: here once, after the 256th record, which took at least 256 ms to reach.
TEST_F(LoadActionTest, ALongLoadLetsTheHostAnswerNowAndThen) {
    const auto layout = gameClientLayout(std::vector<SkillRecord>(257, SkillRecord{"Lore", 1}));
    SlowHost host(tables.writeFile("skills.mul", layout.data),
                  tables.writeFile("skills.idx", layout.index));
    ASSERT_EQ(tables.load(host), std::nullopt);
    EXPECT_EQ(host.itemsWhenCalled, std::vector<std::size_t>{256});
}

// The data path is read afresh for each used record, so a path that changes between records is
// followed; the index path is read once per run.
TEST_F(LoadActionTest, ReadsTheDataPathAfreshForEachUsedRecord) {
    const std::string first = tables.writeFile("first.mul", bytesOf("\x01"
                                                                    "First"));
    const std::string second = tables.writeFile("second.mul", bytesOf(std::string("\0Second", 7)));
    RecordingHost host(first, tables.writeIndex({{0, 5, 0}, {-1, 5, 0}, {0, 6, 0}, {0, 5, 0}}));
    host.setDataPaths({first, second, first});
    ASSERT_EQ(tables.load(host), std::nullopt);
    EXPECT_EQ(host.list().items(),
              (std::vector<SkillRow>{
                  {0, "First", true, 1}, {2, "Second", false, 0}, {3, "First", true, 1}}));
    EXPECT_EQ(host.dataPathReads(), 3u);
    EXPECT_EQ(host.indexPathReads(), 1u);
}

}  // namespace
}  // namespace quorrel
