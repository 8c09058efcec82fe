#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

#include "ExpectFailure.h"
#include "NumberedCase.h"
#include "runtime/base/CheckedMath.h"
#include "runtime/base/Failure.h"

namespace quorrel {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(FailureKindName, NamesEveryKind) {
    EXPECT_EQ(failureKindName(FailureKind::OpenRefused), "open-refused");
    EXPECT_EQ(failureKindName(FailureKind::ReadError), "read-error");
    EXPECT_EQ(failureKindName(FailureKind::Overflow), "overflow");
    EXPECT_EQ(failureKindName(FailureKind::BadReadPosition), "bad-read-position");
    EXPECT_EQ(failureKindName(FailureKind::BufferBounds), "buffer-bounds");
    EXPECT_EQ(failureKindName(FailureKind::OutOfMemory), "out-of-memory");
    EXPECT_EQ(failureKindName(FailureKind::InvalidListIndex), "invalid-list-index");
    EXPECT_EQ(failureKindName(FailureKind::ListOperation), "list-operation");
    EXPECT_EQ(failureKindName(FailureKind::WriteError), "write-error");
    EXPECT_EQ(failureKindName(FailureKind::BadInput), "bad-input");
}

TEST(Failure, WithinPutsTheContextFirstAndKeepsTheKind) {
    const Failure failure(FailureKind::BufferBounds, "length -5 is negative");
    const Failure described = failure.within("record 3 of skills.idx");
    EXPECT_EQ(described.kind(), FailureKind::BufferBounds);
    EXPECT_EQ(described.description(), "record 3 of skills.idx: length -5 is negative");
    EXPECT_EQ(failure.description(), "length -5 is negative");
}

TEST(Failure, AtSaysWhereAfterTheDescriptionInOneParenthesis) {
    const Failure failure(FailureKind::ReadError, "cannot read \"a.mul\": it (still) fails");
    const Failure placed = failure.at("offset 5").at("record 3 of \"b.idx\"");
    EXPECT_EQ(placed.kind(), FailureKind::ReadError);
    EXPECT_EQ(placed.description(),
              "cannot read \"a.mul\": it (still) fails (offset 5, record 3 of \"b.idx\")");
}

struct Sum {
    std::int32_t value;
    std::int32_t delta;
    std::optional<std::int32_t> result;  // none: overflow
};

void PrintTo(const Sum& sum, std::ostream* out) {
    *out << sum.value << " + " << sum.delta;
}

class AddOrOverflowTest : public ::testing::TestWithParam<Sum> {};

TEST_P(AddOrOverflowTest, AddsOrRaisesAnOverflowNamingTheValue) {
    const Sum& sum = GetParam();
    if (sum.result) {
        EXPECT_EQ(addOrOverflow(sum.value, sum.delta, "offset"), *sum.result);
        return;
    }
    EXPECT_FAILURE(addOrOverflow(sum.value, sum.delta, "offset"), FailureKind::Overflow,
                   "offset " + std::to_string(sum.value) + " is out of range");
}

INSTANTIATE_TEST_SUITE_P(Sums, AddOrOverflowTest,
                         ::testing::Values(Sum{1, 1, 2}, Sum{-1, 1, 0}, Sum{-2, 1, -1},
                                           Sum{kMax - 1, 1, kMax}, Sum{kMax, 1, std::nullopt},
                                           Sum{kMax, -1, kMax - 1}, Sum{kMin, 1, kMin + 1},
                                           Sum{kMin, -1, std::nullopt}, Sum{0, -1, -1},
                                           Sum{kMin + 1, -1, kMin}),
                         testing::NumberedCase());

}  // namespace
}  // namespace quorrel
