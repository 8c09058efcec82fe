#include "CheckListSkillList.h"

#include <new>
#include <string>

#include "WindowText.h"
#include "runtime/Failure.h"

namespace quorrel::win32 {
namespace {

// The list-view's state images of a check box: 1 clear, 2 set.
UINT checkState(bool checked) {
    return INDEXTOSTATEIMAGEMASK(checked ? 2u : 1u);
}

[[noreturn]] void throwCannotAdd(std::size_t bytes) {
    throw Failure(FailureKind::OutOfMemory, "cannot add an item of " + std::to_string(bytes) +
                                                " bytes to the list: out of memory");
}

}  // namespace

int CheckListSkillList::count() const {
    return static_cast<int>(SendMessageW(listView_, LVM_GETITEMCOUNT, 0, 0));
}

void CheckListSkillList::Clear() {
    SendMessageW(listView_, LVM_DELETEALLITEMS, 0, 0);
}

std::wstring CheckListSkillList::shownText(std::string_view utf8Text) {
    // A UTF-8 character is at most 4 bytes, so this prefix holds every character shown.
    const std::size_t prefixBytes = kLongestShownText * 4;
    std::wstring shown = wideFromUtf8(utf8Text.substr(0, prefixBytes));
    if (shown.size() <= kLongestShownText && utf8Text.size() <= prefixBytes) {
        return shown;
    }
    std::size_t cut = kLongestShownText;
    if (IS_HIGH_SURROGATE(shown[cut - 1])) {
        --cut;  // keeps a character that needs two UTF-16 units whole
    }
    shown.resize(cut);
    shown.push_back(L'\x2026');
    return shown;
}

void CheckListSkillList::appendItem(std::string text) {
    std::wstring shown;
    try {
        shown = shownText(text);
    } catch (const std::bad_alloc&) {
        throwCannotAdd(text.size());
    }
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = count();
    item.pszText = shown.data();
    item.state = checkState(false);
    item.stateMask = LVIS_STATEIMAGEMASK;
    if (SendMessageW(listView_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0) {
        throwCannotAdd(text.size());
    }
}

void CheckListSkillList::Selected(int index, bool checked) {
    const int items = count();
    if (!holds(index, static_cast<std::size_t>(items))) {
        throwNoItemToCheck(index, static_cast<std::size_t>(items));
    }
    LVITEMW item{};
    item.state = checkState(checked);
    item.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageW(listView_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
}

void CheckListSkillList::ListIndex(int index) {
    const int items = count();
    if (!holds(index, static_cast<std::size_t>(items))) {
        throwNoItemToMakeCurrent(index, static_cast<std::size_t>(items));
    }
    LVITEMW item{};
    item.state = LVIS_FOCUSED | LVIS_SELECTED;
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(listView_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageW(listView_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

}  // namespace quorrel::win32
