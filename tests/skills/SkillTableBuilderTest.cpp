// The builder's bound on the files' size, at its edges and where a product would wrap around.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "runtime/Failure.h"
#include "skills/SkillFileLayout.h"
#include "skills/SkillTableBuilder.h"

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

TEST_P(IndexBound, AddsAtARecordOnlyWhenTheIndexStaysWithinTheBound) {
    const SizeEdge edge = GetParam();
    SkillTableBuilder table(edge.largestFile);
    if (edge.fits) {
        table.add({edge.record, "Quill", 1});
        EXPECT_EQ(table.files().index.size(), (edge.record + 1) * kIndexRecordSize);
        return;
    }
    try {
        table.add({edge.record, "Quill", 1});
        FAIL() << "record " << edge.record << " was taken";
    } catch (const Failure& failure) {
        EXPECT_NE(failure.description().find("the index file would pass 2 GiB"), std::string::npos)
            << failure.description();
    }
    EXPECT_TRUE(table.files().index.empty());
}

TEST_P(IndexBound, PadsToACountOnlyWhenTheIndexStaysWithinTheBound) {
    const SizeEdge edge = GetParam();
    SkillTableBuilder table(edge.largestFile);
    const std::uint64_t records = edge.record + 1;
    if (edge.fits) {
        table.padTo(records);
        EXPECT_EQ(table.nextRecord(), records);
        return;
    }
    EXPECT_THROW(table.padTo(records), Failure);
    EXPECT_TRUE(table.files().index.empty());
}

constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Edges, IndexBound,
    ::testing::Values(SizeEdge{kSmallLimit, 9, true},    // the last record that fits
                      SizeEdge{kSmallLimit, 10, false},  // the first that does not
                      SizeEdge{kRealLimit, (1ULL << 31) / 12, false},
                      SizeEdge{kRealLimit, 1ULL << 63, false},
                      // Times 12, the record count wraps around to 8 bytes.
                      SizeEdge{kRealLimit, kMost / 12, false},
                      SizeEdge{kRealLimit, kMost - 1, false}));

}  // namespace
}  // namespace quorrel
