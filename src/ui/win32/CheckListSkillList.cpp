#include "CheckListSkillList.h"

#include <algorithm>
#include <string>

#include "Clipboard.h"
#include "runtime/base/Failure.h"

namespace quorrel::win32 {
namespace {

// The list-view's state images of a check box: 1 clear, 2 set.
UINT checkState(bool checked) {
    return INDEXTOSTATEIMAGEMASK(checked ? 2u : 1u);
}

// Whether `text` begins with `wanted` (the whole of it unless `partial`), ignoring case as the
// list-view's own search does.
bool matches(const std::wstring& text, const wchar_t* wanted, bool partial) {
    const int wantedLength = lstrlenW(wanted);
    const int compared = partial ? std::min(wantedLength, static_cast<int>(text.size()))
                                 : static_cast<int>(text.size());
    if (partial && compared < wantedLength) {
        return false;
    }
    return CompareStringOrdinal(text.c_str(), compared, wanted, wantedLength, TRUE) == CSTR_EQUAL;
}

}  // namespace

CheckListSkillList::CheckListSkillList(HWND listView) : listView_(listView) {
    // The check boxes' state images are ours to give; the control keeps only focus and selection.
    SendMessageW(listView_, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
}

void CheckListSkillList::Clear() {
    items_.clear();
    published_ = 0;
    SendMessageW(listView_, LVM_SETITEMCOUNT, 0, 0);
}

void CheckListSkillList::appendItem(std::string text) {
    items_.append(text);
}

void CheckListSkillList::publish() {
    if (published_ != items_.size()) {
        published_ = items_.size();
        SendMessageW(listView_, LVM_SETITEMCOUNT, static_cast<WPARAM>(published_), 0);
    }
}

void CheckListSkillList::checkItem(std::size_t index, bool checked) {
    items_.setChecked(index, checked);
    redraw(static_cast<int>(index));
}

void CheckListSkillList::makeCurrent(std::size_t position) {
    const auto index = static_cast<int>(position);
    publish();
    LVITEMW item{};
    item.state = LVIS_FOCUSED | LVIS_SELECTED;
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(listView_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageW(listView_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

int CheckListSkillList::currentRow() const {
    return static_cast<int>(
        SendMessageW(listView_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void CheckListSkillList::toggle(int row) {
    if (holds(row, published_)) {
        items_.setChecked(static_cast<std::size_t>(row),
                          !items_.isChecked(static_cast<std::size_t>(row)));
        redraw(row);
    }
}

// Only rows the control knows of are drawn; a screen reader hears of the change too.
void CheckListSkillList::redraw(int row) const {
    if (holds(row, published_)) {
        SendMessageW(listView_, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, listView_, OBJID_CLIENT, row + 1);
    }
}

void CheckListSkillList::announceFocus() const {
    const int row = currentRow();
    if (GetFocus() == listView_ && holds(row, published_)) {
        NotifyWinEvent(EVENT_OBJECT_FOCUS, listView_, OBJID_CLIENT, row + 1);
    }
}

LRESULT CheckListSkillList::notified(NMHDR& header) {
    switch (header.code) {
        // A new current item. The list-view does not say so itself, and a "Get" that makes the
        // first item current while the keys go to the button must not move a screen reader into
        // the list.
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if ((change.uChanged & LVIF_STATE) != 0 && (change.uNewState & LVIS_FOCUSED) != 0 &&
                (change.uOldState & LVIS_FOCUSED) == 0) {
                announceFocus();
            }
            return 0;
        }
        case LVN_GETDISPINFOW:
            fillDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header).item);
            return 0;
        case LVN_ODFINDITEMW: {
            const auto& search = reinterpret_cast<const NMLVFINDITEMW&>(header);
            return find(search.lvfi, search.iStart);
        }
        case LVN_KEYDOWN: {
            const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
            if (key == VK_SPACE) {
                toggle(currentRow());
            } else if (key == 'C' && GetKeyState(VK_CONTROL) < 0) {
                copyCurrent();
            }
            return 0;
        }
        default:
            return 0;
    }
}

void CheckListSkillList::fillDisplayInfo(LVITEMW& item) const {
    if (!holds(item.iItem, published_)) {
        return;
    }
    const auto row = static_cast<std::size_t>(item.iItem);
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        const std::wstring shown = items_.shownText(row);
        const std::size_t copied =
            std::min(shown.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
        std::copy_n(shown.begin(), copied, item.pszText);
        item.pszText[copied] = L'\0';
    }
    if ((item.mask & LVIF_STATE) != 0 && (item.stateMask & LVIS_STATEIMAGEMASK) != 0) {
        item.state = (item.state & ~static_cast<UINT>(LVIS_STATEIMAGEMASK)) |
                     checkState(items_.isChecked(row));
    }
}

// Type-ahead: the first item from `start` on, wrapping round, whose text begins with what was
// typed.
int CheckListSkillList::find(const LVFINDINFOW& wanted, int start) const {
    if ((wanted.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || wanted.psz == nullptr ||
        published_ == 0) {
        return -1;
    }
    const bool partial = (wanted.flags & LVFI_PARTIAL) != 0;
    const std::size_t first = holds(start, published_) ? static_cast<std::size_t>(start) : 0;
    for (std::size_t step = 0; step < published_; ++step) {
        const std::size_t row = (first + step) % published_;
        if (row < first && (wanted.flags & LVFI_WRAP) == 0) {
            break;
        }
        if (matches(items_.shownText(row), wanted.psz, partial)) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

void CheckListSkillList::copyCurrent() const {
    const int row = currentRow();
    if (holds(row, published_)) {
        copyToClipboard(listView_, items_.shownText(static_cast<std::size_t>(row)));
    }
}

}  // namespace quorrel::win32
