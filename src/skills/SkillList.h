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
    void Selected(int index, bool checked);

    // Makes the item at `index` the current one. Throws an invalid-list-index failure when there
    // is no item at `index`.
    void ListIndex(int index);

  protected:
    // Appends an item whose text holds no zero character, taking the text over.
    virtual void appendItem(std::string text) = 0;

    // How many items the list holds.
    virtual std::size_t itemCount() const = 0;

    // Sets or clears the check mark of the item at `index`, which the list holds.
    virtual void checkItem(std::size_t index, bool checked) = 0;

    // Makes the item at `index`, which the list holds, the current one.
    virtual void makeCurrent(std::size_t index) = 0;

    // Whether `index` is that of one of `count` items.
    static bool holds(int index, std::size_t count) noexcept;
};

}  // namespace quorrel
