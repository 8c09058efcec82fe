#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "Win32Api.h"
#include "skills/SkillList.h"

namespace quorrel::win32 {

// The skill list operations carried out on a list-view control with a check box per item. The
// control holds the items; this object holds none of its own.
class CheckListSkillList final : public SkillList {
  public:
    // Texts longer than this are shown cut short with an ellipsis, so that a hostile,
    // gigabyte-long name is not copied into the control whole.
    static constexpr std::size_t kLongestShownText = 1024;

    // The control must outlive this object.
    explicit CheckListSkillList(HWND listView) : listView_(listView) {}

    void Clear() override;
    int NewIndex() const override { return count() - 1; }
    void Selected(int index, bool checked) override;
    void ListIndex(int index) override;

    // The text the control shows for an item of `utf8Text`.
    static std::wstring shownText(std::string_view utf8Text);

  protected:
    // Throws an out-of-memory failure when the control cannot store the item.
    void appendItem(std::string text) override;

  private:
    int count() const;

    HWND listView_;
};

}  // namespace quorrel::win32
