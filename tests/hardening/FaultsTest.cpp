// The load action when memory runs out, when reads fail or come up short, and when the index
// changes while it is read: faults the file system cannot be made to show on demand, injected.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AllocationFailure.h"
#include "ExpectFailure.h"
#include "ProcessResources.h"
#include "ReadFaults.h"
#include "SkillRows.h"
#include "TableBytes.h"
#include "TableOnDisk.h"
#include "TempDir.h"
#include "runtime/base/Failure.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadAction.h"
#include "skills/SkillFileLayout.h"
#include "skills/StandaloneHost.h"

namespace quorrel::testing {
namespace {

// The last name's accented letters make its text outgrow what the conversion reserved, so the
// load trims it with an allocation of its own.
const std::vector<SkillRecord> kSkills = {
    {"Dowsing", 1}, {"Gilding", 0}, {"Joinery and Fretwork \xE9", 255}};
const std::string kJoinery = "Joinery and Fretwork \u00E9";

bool isPrefixOf(const std::vector<std::string>& prefix, const std::vector<std::string>& whole) {
    return prefix.size() <= whole.size() && std::equal(prefix.begin(), prefix.end(), whole.begin());
}

class FaultsTest : public ::testing::Test {
  protected:
    struct Outcome {
        std::optional<Failure> failure;
        std::size_t filesLeftOpen = 0;
    };

    // One load through files whose reads go wrong as `faults` says.
    Outcome load(StandaloneHost& host, const std::shared_ptr<fault::ReadFaults>& faults) const {
        fault::FaultyReads reads(faults);
        FileTable table(reads);
        Outcome outcome;
        outcome.failure = failureOf([&] { loadSkills(host, table); });
        outcome.filesLeftOpen = table.openCount();
        return outcome;
    }

    TempDir dir;
    const TablePaths written = writeTable(dir, gameClientLayout(kSkills));
    const std::string dataPath = written.data;
    const std::string indexPath = written.index;
};

// Memory running out at any allocation of a load, in the list and the text conversion as well as
// in the buffers, ends it with an out-of-memory failure: the items before stay, no file stays open
// (not even one whose descriptor was just opened) and nothing else escapes.
TEST_F(FaultsTest, EveryAllocationThatFailsIsAnOutOfMemoryFailure) {
    const std::vector<std::string> all = {"Dowsing", "Gilding", kJoinery};
    bool namedARecord = false;
    const std::size_t descriptorsBefore = openDescriptorCount();
    for (std::size_t nth = 1;; ++nth) {
        StandaloneHost host(dataPath, indexPath);
        FileTable table;
        std::optional<Failure> failure;
        bool failed = false;
        {
            const fault::AllocationFailure allocation(nth);
            failure = failureOf([&] { loadSkills(host, table); });
            failed = allocation.happened();
        }
        if (!failed) {
            EXPECT_EQ(failure, std::nullopt) << failure->description();
            EXPECT_EQ(namesOf(host.list().items()), all);
            EXPECT_GT(nth, 3u) << "the load allocates almost nothing: is the allocator in place?";
            break;
        }
        ASSERT_TRUE(failure.has_value()) << "allocation " << nth << " failed unnoticed";
        EXPECT_EQ(failure->kind(), FailureKind::OutOfMemory) << failure->description();
        EXPECT_TRUE(isPrefixOf(namesOf(host.list().items()), all)) << "allocation " << nth;
        EXPECT_EQ(table.openCount(), 0u) << "allocation " << nth;
        namedARecord =
            namedARecord || failure->description().ends_with("record 2 of \"" + indexPath + "\")");
    }
    EXPECT_TRUE(namedARecord) << "no failure named the record it came in";
    EXPECT_EQ(openDescriptorCount(), descriptorsBefore) << "a failed allocation leaked a file";
}

// A read that fails after the open, at any point of the load, is a read error naming the record
// and the file, with the system's reason; the items before stay and no file stays open.
TEST_F(FaultsTest, EveryReadThatFailsIsAReadErrorNamingTheRecordAndTheFile) {
    for (std::size_t nth = 1;; ++nth) {
        auto faults = std::make_shared<fault::ReadFaults>();
        faults->failingRead = nth;
        StandaloneHost host(dataPath, indexPath);
        const auto [failure, filesLeftOpen] = load(host, faults);
        if (faults->readsMade < nth) {
            EXPECT_EQ(failure, std::nullopt);
            EXPECT_GE(nth, 4u) << "fewer reads than records";
            break;
        }
        ASSERT_TRUE(failure.has_value()) << "read " << nth << " failed unnoticed";
        const std::string description = failure->description();
        EXPECT_EQ(failure->kind(), FailureKind::ReadError) << description;
        EXPECT_TRUE(description.starts_with("cannot read ")) << description;
        EXPECT_NE(description.find(" of \"" + indexPath + "\")"), std::string::npos) << description;
        EXPECT_NE(description.find("Input/output error"), std::string::npos) << description;
        EXPECT_TRUE(description.find(dataPath) != std::string::npos ||
                    description.find("cannot read \"" + indexPath) != std::string::npos)
            << description;
        EXPECT_EQ(filesLeftOpen, 0u);
    }
}

// The index is read a block of whole records at a time, not a read per record: an index of 20,000
// records costs five reads (four blocks and the one that finds the end) besides the data records',
// and records on both sides of a block's end are read whole.
TEST_F(FaultsTest, TheIndexIsReadInBlocksOfWholeRecords) {
    std::vector<IndexRecord> records(20'000, IndexRecord{-1, 0, 0});
    for (const std::size_t used :
         {std::size_t{0}, std::size_t{5461}, std::size_t{5462}, std::size_t{19'999}}) {
        records[used] = {used == 5462 ? 9 : 0, 9, 0};
    }
    StandaloneHost host(dataPath, dir.write("long.idx", indexBytes(records)));
    auto faults = std::make_shared<fault::ReadFaults>();
    EXPECT_EQ(load(host, faults).failure, std::nullopt);
    EXPECT_EQ(namesOf(host.list().items()),
              (std::vector<std::string>{"Dowsing", "Dowsing", "Gilding", "Dowsing"}));
    EXPECT_EQ(faults->readsMade, 5u + 4u);
}

// An index that is cut short while it is read ends at its last whole record: the piece of a
// record that a read got is not taken for one.
TEST_F(FaultsTest, AnIndexCutShortDuringTheLoadEndsAtItsLastWholeRecord) {
    auto faults = std::make_shared<fault::ReadFaults>();
    faults->cuttingRead = 1;  // the index's first read
    faults->cutToBytes = 12 + 6;
    StandaloneHost host(dataPath, indexPath);
    EXPECT_EQ(load(host, faults).failure, std::nullopt);
    EXPECT_EQ(namesOf(host.list().items()), std::vector<std::string>{"Dowsing"});
}

// A data record that a read gets only part of has zeros past that part, never other bytes.
TEST_F(FaultsTest, ADataRecordCutShortReadsAsZerosPastTheCut) {
    auto faults = std::make_shared<fault::ReadFaults>();
    faults->cuttingRead = 3;         // the index, the first data record, then the second one
    faults->cutToBytes = 9 + 1 + 2;  // its flag and two bytes of its name
    StandaloneHost host(dataPath, indexPath);
    EXPECT_EQ(load(host, faults).failure, std::nullopt);
    EXPECT_EQ(host.list().items(),
              (std::vector<SkillRow>{
                  {0, "Dowsing", true, 1}, {1, "Gi", false, 0}, {2, kJoinery, true, 255}}));
}

// A host whose index grows by a record once the load has read its first data path: what the
// game client writing its files while Quorrel reads them looks like.
class GrowingIndexHost final : public LoadHost {
  public:
    GrowingIndexHost(std::string dataPath, std::string indexPath, std::vector<std::uint8_t> grown)
        : dataPath_(std::move(dataPath)),
          indexPath_(std::move(indexPath)),
          grown_(std::move(grown)) {}

    SkillList& lstSkills() override { return list_; }
    LoadFields& loadFields() override { return fields_; }
    std::string txtPathIdxText() const override { return indexPath_; }
    std::string txtPathText() const override {
        if (!grown_.empty()) {
            testing::writeFile(indexPath_, grown_);
            grown_.clear();
        }
        return dataPath_;
    }

    const MemorySkillList& list() const noexcept { return list_; }

  private:
    std::string dataPath_;
    std::string indexPath_;
    mutable std::vector<std::uint8_t> grown_;
    LoadFields fields_;
    MemorySkillList list_{fields_};
};

TEST_F(FaultsTest, AnIndexThatGrowsDuringTheLoadIsReadToItsNewEnd) {
    const auto layout = gameClientLayout(kSkills);
    const std::vector<std::uint8_t> firstTwo(layout.index.begin(), layout.index.begin() + 24);
    GrowingIndexHost host(dataPath, dir.write("growing.idx", firstTwo), layout.index);
    FileTable table;
    loadSkills(host, table);
    EXPECT_EQ(namesOf(host.list().items()),
              (std::vector<std::string>{"Dowsing", "Gilding", kJoinery}));
}

}  // namespace
}  // namespace quorrel::testing
