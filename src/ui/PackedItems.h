#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

// The items of a skill list as a window keeps them, compact enough for millions: every text back
// to back in one UTF-8 block and one byte of marks per item (checked, and what else a window
// wants to note), with no object per item.
class PackedItems {
  public:
    std::size_t size() const noexcept { return marks_.size(); }

    // Appends an item. The first text becomes the block itself, so that a huge one is held once,
    // not copied. When memory runs out it throws std::bad_alloc and the items stay as they were.
    void append(std::string text, std::uint8_t marks);

    // Removes every item and gives their memory back.
    void clear() noexcept;

    std::string_view text(std::size_t row) const;
    std::uint8_t marks(std::size_t row) const { return marks_.at(row); }
    void setMark(std::size_t row, std::uint8_t mark, bool set);

  private:
    std::string texts_;              // every item's text, back to back
    std::vector<std::size_t> ends_;  // where each item's text ends in texts_
    std::vector<std::uint8_t> marks_;
};

}  // namespace quorrel
