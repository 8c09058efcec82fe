#include "ShownItems.h"

#include "Win32Api.h"
#include "runtime/WideText.h"

namespace quorrel::win32 {
namespace {

// A UTF-8 character is at most 4 bytes and gives at most 2 UTF-16 units, so the shown part of a
// text lies within this many bytes, and a text of at most kLongestShownText bytes is shown whole.
constexpr std::size_t kShownPrefixBytes = ShownItems::kLongestShownText * 4;
constexpr wchar_t kEllipsis = L'\x2026';

// The first kLongestShownText units of a text that has more, without half a character.
std::wstring cutShort(std::wstring text) {
    std::size_t cut = ShownItems::kLongestShownText;
    if (IS_HIGH_SURROGATE(text[cut - 1])) {
        --cut;  // keeps a character that needs two UTF-16 units whole
    }
    text.resize(cut);
    return text;
}

}  // namespace

std::wstring ShownItems::shownText(std::string_view utf8Text) {
    std::wstring shown = wideFromUtf8(utf8Text.substr(0, kShownPrefixBytes));
    if (shown.size() <= kLongestShownText && utf8Text.size() <= kShownPrefixBytes) {
        return shown;
    }
    shown = cutShort(std::move(shown));
    shown.push_back(kEllipsis);
    return shown;
}

void ShownItems::append(std::string_view utf8Text) {
    std::string cutText;
    std::uint8_t marks = 0;
    if (utf8Text.size() > kLongestShownText) {
        const std::wstring shown = wideFromUtf8(utf8Text.substr(0, kShownPrefixBytes));
        if (shown.size() > kLongestShownText || utf8Text.size() > kShownPrefixBytes) {
            cutText = utf8FromWide(cutShort(shown));
            utf8Text = cutText;
            marks = kCut;
        }
    }
    const std::size_t oldSize = texts_.size();
    texts_.append(utf8Text);
    try {
        ends_.push_back(texts_.size());
        marks_.push_back(marks);
    } catch (...) {
        texts_.resize(oldSize);
        ends_.resize(marks_.size());
        throw;
    }
}

void ShownItems::clear() noexcept {
    texts_ = std::string();
    ends_ = std::vector<std::size_t>();
    marks_ = std::vector<std::uint8_t>();
}

std::wstring ShownItems::shownText(std::size_t row) const {
    const std::size_t begin = row == 0 ? 0 : ends_.at(row - 1);
    std::wstring shown =
        wideFromUtf8(std::string_view(texts_).substr(begin, ends_.at(row) - begin));
    if ((marks_[row] & kCut) != 0) {
        shown.push_back(kEllipsis);
    }
    return shown;
}

void ShownItems::setChecked(std::size_t row, bool checked) {
    std::uint8_t& marks = marks_.at(row);
    marks = static_cast<std::uint8_t>(checked ? (marks | kChecked) : (marks & ~kChecked));
}

}  // namespace quorrel::win32
