#include <gtest/gtest.h>

#include <string>

#include "CheckListSkillList.h"

namespace quorrel::win32 {
namespace {

constexpr std::size_t kLongest = CheckListSkillList::kLongestShownText;

TEST(CheckListSkillListTest, ShowsALongTextCutShortWithAnEllipsisAndAShortOneWhole) {
    EXPECT_EQ(CheckListSkillList::shownText("Fa\xC3\xA7"
                                            "ade"),
              L"Fa\u00E7ade");
    EXPECT_EQ(CheckListSkillList::shownText(std::string(kLongest, 'a')),
              std::wstring(kLongest, L'a'));

    const std::wstring cut = CheckListSkillList::shownText(std::string(3 * kLongest, 'a'));
    EXPECT_EQ(cut, std::wstring(kLongest, L'a') + L"\u2026");
}

TEST(CheckListSkillListTest, CutsBeforeACharacterOfTwoUnitsRatherThanThroughIt) {
    // U+1F600 is two UTF-16 units; placed so that the limit falls between them.
    const std::string text = std::string(kLongest - 1, 'a') + "\xF0\x9F\x98\x80" + "tail";
    EXPECT_EQ(CheckListSkillList::shownText(text), std::wstring(kLongest - 1, L'a') + L"\u2026");
}

}  // namespace
}  // namespace quorrel::win32
