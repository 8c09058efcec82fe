#include "ShownItems.h"

#include "ShownText.h"
#include "runtime/WideText.h"

namespace quorrel::win32 {
namespace {

constexpr wchar_t kEllipsis = L'\x2026';

}  // namespace

std::wstring ShownItems::shownText(std::string_view utf8Text) {
    const ShownPart part = shownPart(utf8Text);
    std::wstring shown = wideFromUtf8(part.text);
    if (part.cut) {
        shown.push_back(kEllipsis);
    }
    return shown;
}

void ShownItems::append(std::string_view utf8Text) {
    const ShownPart part = shownPart(utf8Text);
    const std::size_t oldSize = texts_.size();
    texts_.append(part.text);
    try {
        ends_.push_back(texts_.size());
        marks_.push_back(part.cut ? kCut : 0);
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
