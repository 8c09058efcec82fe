#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "PackedItems.h"

namespace quorrel::win32 {

// The items of the Win32 skill list, held by the window rather than by the list control, which
// only asks for the rows it draws: compact enough for millions, with no object per item. Each
// item keeps the text the list shows, in UTF-8, back to back with the others in one block, and
// one byte of marks. A text longer than the list shows is kept only as far as it is shown and
// marked as cut (shownPart), so a hostile gigabyte-long name costs a kilobyte or so.
class ShownItems {
  public:
    // The text the list shows for an item of `utf8Text`: shownPart's, with "…" after a cut one.
    static std::wstring shownText(std::string_view utf8Text);

    std::size_t size() const noexcept { return items_.size(); }

    // Appends an item with its check mark clear. When memory runs out it throws std::bad_alloc
    // and the items stay as they were.
    void append(std::string_view utf8Text);

    // Removes every item and gives their memory back.
    void clear() noexcept;

    // What the item at `row` shows, as shownText() gives it for the item's whole text.
    std::wstring shownText(std::size_t row) const;

    bool isChecked(std::size_t row) const { return (items_.marks(row) & kChecked) != 0; }
    void setChecked(std::size_t row, bool checked) { items_.setMark(row, kChecked, checked); }

  private:
    static constexpr std::uint8_t kChecked = 1;
    static constexpr std::uint8_t kCut = 2;

    PackedItems items_;  // each item's kept text
};

}  // namespace quorrel::win32
