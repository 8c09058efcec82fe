#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShownItems.h"
#include "ShownText.h"

namespace quorrel::win32 {
namespace {

constexpr std::size_t kLongest = kLongestShownText;

// An item keeps only what it shows, so what it shows is worked out from the whole text, and each
// item's check mark is its own.
TEST(ShownItemsTest, EachItemShowsWhatItsWholeTextShowsWithItsOwnCheckMark) {
    const std::vector<std::string> texts = {
        "Dowsing",
        "",
        std::string(3 * kLongest, 'a'),
        std::string(kLongest - 1, 'a') + "\xF0\x9F\x98\x80" + "tail",
        // More bytes than are shown characters, but every character shown: kept whole.
        [] {
            std::string text;
            for (std::size_t character = 0; character < kLongest; ++character) {
                text += "\xC3\xA9";
            }
            return text;
        }(),
    };
    ShownItems items;
    for (const std::string& text : texts) {
        items.append(text);
    }
    items.setChecked(2, true);
    ASSERT_EQ(items.size(), texts.size());
    EXPECT_EQ(ShownItems::shownText(texts[2]), std::wstring(kLongest, L'a') + L"\u2026");
    for (std::size_t row = 0; row < texts.size(); ++row) {
        EXPECT_EQ(items.shownText(row), ShownItems::shownText(texts[row])) << "row " << row;
        EXPECT_EQ(items.isChecked(row), row == 2) << "row " << row;
    }

    items.clear();
    EXPECT_EQ(items.size(), 0u);
    items.append("Gilding");
    EXPECT_EQ(items.shownText(0), L"Gilding");
    EXPECT_FALSE(items.isChecked(0));
}

}  // namespace
}  // namespace quorrel::win32
