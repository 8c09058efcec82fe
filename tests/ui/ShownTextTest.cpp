// What a list shows of a text, the same in both windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShownText.h"

namespace quorrel {
namespace {

TEST(ShownText, ShowsWholeCharactersWithinTheLongestAndMarksTheRestCut) {
    struct Case {
        std::string text;
        std::size_t longest;
        std::string shown;
        bool cut;
    };
    const std::string grin = "\xF0\x9F\x98\x80";  // U+1F600, two UTF-16 units
    const std::vector<Case> cases = {
        {"", 4, "", false},
        {"Fa\xC3\xA7"
         "ade",
         6,
         "Fa\xC3\xA7"
         "ade",
         false},
        {"abcd", 4, "abcd", false},
        {"abcde", 4, "abcd", true},
        // More bytes than units: what counts is the units, two bytes each here.
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 4, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", false},
        {"abc" + grin, 4, "abc", true},
        {"ab" + grin, 4, "ab" + grin, false},
        {"ab" + grin + "x", 4, "ab" + grin, true},
        // A byte that is no UTF-8 is one replacement character.
        {"ab\xFF\xFF", 4, "ab\xFF\xFF", false},
        {"ab\xFF\xFF\xFF", 4, "ab\xFF\xFF", true},
        {std::string(kLongestShownText, 'a'), kLongestShownText,
         std::string(kLongestShownText, 'a'), false},
        {std::string(3 * kLongestShownText, 'a'), kLongestShownText,
         std::string(kLongestShownText, 'a'), true},
    };
    for (const Case& c : cases) {
        const ShownPart part = shownPart(c.text, c.longest);
        EXPECT_EQ(part.text, c.shown) << c.text.substr(0, 16);
        EXPECT_EQ(part.cut, c.cut) << c.text.substr(0, 16);
    }
}

}  // namespace
}  // namespace quorrel
