#pragma once

#include <cstddef>
#include <string>

namespace quorrel {

// The check-box list the load action fills: the five operations it uses, with the list's own
// rules. Item indexes count from 0.
class SkillList {
  public:
    virtual ~SkillList() = default;

    // Removes all items; there is no current item afterwards.
    virtual void Clear() = 0;

    // Appends an item with its check mark clear. The item keeps `text` (UTF-8) only up to its
    // first zero character. The text is taken, not copied, so a huge name is held once. Memory
    // running out, in whichever list, is an out-of-memory failure that says so ("cannot add an
    // item of 9 bytes to the list: out of memory").
    void AddItem(std::string text);

    // The index of the item added last; -1 when none has been added since the list was emptied.
    virtual int NewIndex() const = 0;

    // Sets or clears the check mark of an item. Throws a list-operation failure when there is
    // no item at `index`.
    virtual void Selected(int index, bool checked) = 0;

    // Makes the item at `index` the current one. Throws an invalid-list-index failure when there
    // is no item at `index`.
    virtual void ListIndex(int index) = 0;

  protected:
    // Appends an item whose text holds no zero character, taking the text over.
    virtual void appendItem(std::string text) = 0;

    // Whether `index` is that of one of `count` items; the failures Selected and ListIndex throw
    // when it is not.
    static bool holds(int index, std::size_t count) noexcept;
    [[noreturn]] static void throwNoItemToCheck(int index, std::size_t count);
    [[noreturn]] static void throwNoItemToMakeCurrent(int index, std::size_t count);
};

}  // namespace quorrel
