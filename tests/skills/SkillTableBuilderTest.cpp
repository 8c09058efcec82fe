// The builder's bound on the files' size, at its edges and where a product would wrap around.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "ExpectFailure.h"
#include "runtime/base/Failure.h"
#include "skills/SkillFileLayout.h"
#include "skills/SkillTableBuilder.h"
#include "skills/SparseIndex.h"

namespace quorrel {
namespace {

constexpr std::uint64_t kRealLimit = SkillTableBuilder::kLargestFile;
// Small enough that a table reaching it costs nothing: room for ten index records.
constexpr std::uint64_t kSmallLimit = 10 * kIndexRecordSize + 5;

struct SizeEdge {
    std::uint64_t largestFile;
    std::uint64_t record;  // the record asked for, or the records padded to
    bool fits;
};

class IndexBound : public ::testing::TestWithParam<SizeEdge> {};

// Both ways to ask for records: a skill at a record number, and padding to a record count.
TEST_P(IndexBound, TakesARecordOnlyWhenTheIndexStaysWithinTheBound) {
    const SizeEdge edge = GetParam();
    SkillTableBuilder added(edge.largestFile);
    SkillTableBuilder padded(edge.largestFile);
    if (edge.fits) {
        added.add({edge.record, "Quill", true, 1});
        padded.padTo(edge.record + 1);
        EXPECT_EQ(added.files().index.size(), (edge.record + 1) * kIndexRecordSize);
        // The empty slots before the skill are one count, however many: a few pieces to write.
        EXPECT_LE(padded.files().index.pieces().size(), 2u);
        EXPECT_EQ(padded.nextRecord(), edge.record + 1);
        return;
    }
    EXPECT_FAILURE(added.add({edge.record, "Quill", true, 1}), FailureKind::BadInput,
                   testing::HasSubstr("the index file would pass 2 GiB"));
    EXPECT_THROW(padded.padTo(edge.record + 1), Failure);
    EXPECT_TRUE(added.files().index.empty());
    EXPECT_TRUE(padded.files().index.empty());
}

constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Edges, IndexBound,
    ::testing::Values(SizeEdge{kSmallLimit, 9, true},    // the last record that fits
                      SizeEdge{kSmallLimit, 10, false},  // the first that does not
                      SizeEdge{kRealLimit, (1ULL << 31) / 12 - 1, true},  // the largest index
                      SizeEdge{kRealLimit, (1ULL << 31) / 12, false},
                      SizeEdge{kRealLimit, 1ULL << 63, false},
                      // Times 12, the record count wraps around to 8 bytes.
                      SizeEdge{kRealLimit, kMost / 12, false},
                      SizeEdge{kRealLimit, kMost - 1, false}));

// The index as the writer gets it is the index laid out slot by slot, for runs of empty slots held
// as bytes, as a count, and as whole blocks and the rest; its skills' records keep their numbers;
// shifted, only the skills' records move.
TEST(SparseIndex, WritesTheSlotsItCounts) {
    using ::testing::ElementsAre;
    using ::testing::Pair;
    for (const std::uint64_t run : {1ULL, 7ULL, 8ULL, 5461ULL, 5462ULL, 3 * 5461ULL + 5}) {
        SparseIndex sparse;
        SkillFiles dense;
        for (const IndexRecord& record : {IndexRecord{0, 7, 1}, IndexRecord{7, 3, 0}}) {
            sparse.append(record);
            appendIndexRecord(dense.index, record);
            sparse.appendEmptySlots(run);
            for (std::uint64_t slot = 0; slot < run; ++slot) {
                appendEmptySlot(dense);
            }
        }
        EXPECT_EQ(sparse.bytes(), dense.index) << run;
        const std::vector<std::pair<std::uint64_t, IndexRecord>> used = sparse.usedRecords();
        EXPECT_THAT(used,
                    ElementsAre(Pair(0, IndexRecord{0, 7, 1}), Pair(run + 1, IndexRecord{7, 3, 0})))
            << run;
        const std::vector<std::uint8_t> shifted = sparse.shifted(5).bytes();
        EXPECT_EQ(indexRecordAt(shifted, 0).offset, 5) << run;
        EXPECT_EQ(indexRecordAt(shifted, run + 1).offset, 12) << run;
        EXPECT_EQ(indexRecordAt(shifted, 2 * run + 1).offset, kEmptySlotOffset) << run;
    }
}

}  // namespace
}  // namespace quorrel
