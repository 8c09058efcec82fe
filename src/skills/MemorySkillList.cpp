#include "MemorySkillList.h"

#include <string>

#include "runtime/Failure.h"

namespace quorrel {

void MemorySkillList::Clear() {
    items_.clear();
    current_.reset();
}

void MemorySkillList::appendItem(std::string_view text) {
    items_.push_back(SkillItem{std::string(text), false});
}

bool MemorySkillList::holds(int index) const noexcept {
    return index >= 0 && static_cast<std::size_t>(index) < items_.size();
}

void MemorySkillList::Selected(int index, bool checked) {
    if (!holds(index)) {
        throw Failure(FailureKind::ListOperation, "cannot set the check mark of item " +
                                                      std::to_string(index) + ": the list has " +
                                                      std::to_string(items_.size()) + " items");
    }
    items_[static_cast<std::size_t>(index)].checked = checked;
}

void MemorySkillList::ListIndex(int index) {
    if (!holds(index)) {
        throw Failure(FailureKind::InvalidListIndex, "cannot make item " + std::to_string(index) +
                                                         " current: the list has " +
                                                         std::to_string(items_.size()) + " items");
    }
    current_ = index;
}

}  // namespace quorrel
