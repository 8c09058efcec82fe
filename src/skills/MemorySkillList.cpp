#include "MemorySkillList.h"

#include <string>
#include <utility>

namespace quorrel {

void MemorySkillList::Clear() {
    items_.clear();
    current_.reset();
}

void MemorySkillList::appendItem(std::string text) {
    // The load reads a record's flag before it adds the item.
    items_.push_back(SkillRow{fields_.record, std::move(text), false, fields_.flag});
}

void MemorySkillList::Selected(int index, bool checked) {
    if (!holds(index, items_.size())) {
        throwNoItemToCheck(index, items_.size());
    }
    items_[static_cast<std::size_t>(index)].checked = checked;
}

void MemorySkillList::ListIndex(int index) {
    if (!holds(index, items_.size())) {
        throwNoItemToMakeCurrent(index, items_.size());
    }
    current_ = index;
}

std::vector<SkillRow> MemorySkillList::takeItems() noexcept {
    current_.reset();
    return std::move(items_);
}

}  // namespace quorrel
