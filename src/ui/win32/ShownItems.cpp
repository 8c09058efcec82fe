#include "ShownItems.h"

#include "ShownText.h"
#include "runtime/system/WideTextWindows.h"

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
    items_.append(std::string(part.text), part.cut ? kCut : 0);
}

void ShownItems::clear() noexcept {
    items_.clear();
}

std::wstring ShownItems::shownText(std::size_t row) const {
    std::wstring shown = wideFromUtf8(items_.text(row));
    if ((items_.marks(row) & kCut) != 0) {
        shown.push_back(kEllipsis);
    }
    return shown;
}

}  // namespace quorrel::win32
