#pragma once

#include <cstddef>
#include <string>

#include "ShownItems.h"
#include "Win32Api.h"
#include "skills/SkillList.h"

namespace quorrel::win32 {

// The skill list operations carried out on an owner-data list-view with a check box per item. The
// items, their texts and check marks, live here; the control holds none and asks for the rows it
// draws. Appended items reach the control when publish() or ListIndex() runs, so a load costs the
// control one change instead of one per item, and emptying the list costs no more.
class CheckListSkillList final : public SkillList {
  public:
    // The control must outlive this object and have the owner-data style.
    explicit CheckListSkillList(HWND listView);

    void Clear() override;
    int NewIndex() const override { return static_cast<int>(items_.size()) - 1; }

    // Tells the control of the items appended since it was last told.
    void publish();

    // Answers a notification the control sends its parent: what an item shows (text and check
    // box), the item that type-ahead finds, the keys the list handles itself (Space toggles the
    // current item's check mark, Ctrl+C copies its text), and a new current item, which screen
    // readers are told has the focus while the keys go to the list. Returns the notification's
    // result.
    LRESULT notified(NMHDR& header);

    // Toggles the check mark of a shown item, as Space and a click on its check box do.
    void toggle(int row);

    // Tells screen readers that the current item has the focus, when the list has the keyboard
    // focus: as it gets the focus, so that entering the list names the current skill.
    void announceFocus() const;

    // Shown items: how many, what each shows and whether it is checked.
    int shownCount() const noexcept { return static_cast<int>(published_); }
    std::wstring shownText(int row) const {
        return items_.shownText(static_cast<std::size_t>(row));
    }
    bool isChecked(int row) const { return items_.isChecked(static_cast<std::size_t>(row)); }

    // The current item's row; -1 when there is none.
    int currentRow() const;

  protected:
    // Memory running out is std::bad_alloc, which AddItem says as a failure.
    void appendItem(std::string text) override;
    std::size_t itemCount() const override { return items_.size(); }
    void checkItem(std::size_t index, bool checked) override;
    void makeCurrent(std::size_t index) override;

  private:
    void fillDisplayInfo(LVITEMW& item) const;
    int find(const LVFINDINFOW& wanted, int start) const;
    void copyCurrent() const;
    void redraw(int row) const;

    HWND listView_;
    ShownItems items_;
    std::size_t published_ = 0;
};

}  // namespace quorrel::win32
