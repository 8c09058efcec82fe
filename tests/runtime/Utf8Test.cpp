#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/base/Utf8.h"

namespace quorrel {
namespace {

struct Cut {
    std::string text;
    std::size_t at;
    std::size_t expected;
};

// Long names are converted and hidden names made in pieces: a cut must never split a character,
// and must never walk back out of its piece, however many stray bytes a hostile name holds.
TEST(Utf8, ACutMovesBackToTheStartOfTheSequenceItFallsInAndNoFurther) {
    const std::string euro = "\xE2\x82\xAC";
    const std::string smile = "\xF0\x9F\x98\x80";
    const std::vector<Cut> cuts = {
        {"abcdef", 3, 3},
        {"a" + euro + "b", 2, 1},
        {"a" + euro + "b", 3, 1},
        {"a" + euro + "b", 4, 4},
        {smile + "x", 3, 0},
        {smile + "x", 4, 4},
        {std::string(10, '\x80'), 8, 8},
        {std::string(2, '\x80'), 1, 1},
        {"\x80", 0, 0},
    };
    for (const Cut& cut : cuts) {
        EXPECT_EQ(sequenceStart(cut.text, cut.at), cut.expected)
            << testing::PrintToString(cut.text) << " cut at " << cut.at;
    }
}

}  // namespace
}  // namespace quorrel
