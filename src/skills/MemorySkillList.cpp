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
    SkillRow& row = items_.emplace_back();
    row.record = fields_.record;
    row.name = std::move(text);
    row.flag = fields_.flag;
}

void MemorySkillList::checkItem(std::size_t index, bool checked) {
    items_[index].checked = checked;
}

void MemorySkillList::makeCurrent(std::size_t index) {
    current_ = static_cast<int>(index);
}

std::vector<SkillRow> MemorySkillList::takeItems() noexcept {
    current_.reset();
    return std::move(items_);
}

}  // namespace quorrel
