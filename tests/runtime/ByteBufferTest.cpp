#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "ExpectFailure.h"
#include "runtime/base/Failure.h"
#include "runtime/filetable/ByteBuffer.h"

namespace quorrel {
namespace {

bool allZero(const ByteBuffer& buffer) {
    return std::all_of(buffer.stored().begin(), buffer.stored().end(),
                       [](std::uint8_t byte) { return byte == 0; });
}

TEST(ByteBuffer, StartsEmpty) {
    const ByteBuffer buffer;
    EXPECT_EQ(buffer.lowerBound(), 0);
    EXPECT_EQ(buffer.upperBound(), -1);
    EXPECT_EQ(buffer.count(), 0);
    EXPECT_TRUE(buffer.stored().empty());
}

TEST(ByteBuffer, RedimGivesZeroFilledElementsBetweenTheBounds) {
    struct Case {
        std::int32_t lower;
        std::int32_t upper;
        std::int64_t count;
    };
    for (const Case& c : {Case{0, 0, 1}, Case{0, 4, 5}, Case{3, 5, 3}, Case{-2, 2, 5}}) {
        ByteBuffer buffer;
        buffer.redim(c.lower, c.upper);
        EXPECT_EQ(buffer.lowerBound(), c.lower);
        EXPECT_EQ(buffer.upperBound(), c.upper);
        EXPECT_EQ(buffer.count(), c.count);
        EXPECT_EQ(static_cast<std::int64_t>(buffer.stored().size()), c.count);
        EXPECT_TRUE(allZero(buffer));
    }
}

TEST(ByteBuffer, UpperBelowLowerIsABufferBoundsFailure) {
    for (const std::int32_t upper : {-1, -2, -6, std::numeric_limits<std::int32_t>::min()}) {
        ByteBuffer buffer;
        EXPECT_FAILURE(buffer.redim(0, upper), FailureKind::BufferBounds,
                       "a buffer cannot run from 0 down to " + std::to_string(upper));
    }
}

TEST(ByteBuffer, HoldsAtMostTheBackedElements) {
    ByteBuffer buffer;
    buffer.redim(0, std::numeric_limits<std::int32_t>::max() - 1, 16);
    EXPECT_EQ(buffer.count(), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(buffer.stored().size(), 16u);
    EXPECT_TRUE(allZero(buffer));

    buffer.redim(0, 3, 16);
    EXPECT_EQ(buffer.stored().size(), 4u);
    buffer.redim(0, 3, 0);
    EXPECT_EQ(buffer.count(), 4);
    EXPECT_TRUE(buffer.stored().empty());
}

TEST(ByteBuffer, RedimReplacesTheOldContents) {
    ByteBuffer buffer;
    buffer.redim(0, 7);
    std::fill(buffer.stored().begin(), buffer.stored().end(), std::uint8_t{0x5A});
    buffer.redim(0, 9);
    EXPECT_EQ(buffer.count(), 10);
    EXPECT_TRUE(allZero(buffer));
    buffer.redim(0, 2);
    EXPECT_EQ(buffer.stored().size(), 3u);
    EXPECT_TRUE(allZero(buffer));
}

}  // namespace
}  // namespace quorrel
