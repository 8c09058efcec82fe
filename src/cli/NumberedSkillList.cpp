#include "NumberedSkillList.h"

#include <string>
#include <utility>

namespace quorrel::cli {

void NumberedSkillList::appendItem(std::string text) {
    // The load reads a record's flag before it adds the item.
    skills_.push_back(DumpedSkill{fields_.record, std::move(text), false, fields_.flag});
}

void NumberedSkillList::Selected(int index, bool checked) {
    if (!holds(index, skills_.size())) {
        throwNoItemToCheck(index, skills_.size());
    }
    skills_[static_cast<std::size_t>(index)].checked = checked;
}

void NumberedSkillList::ListIndex(int index) {
    if (!holds(index, skills_.size())) {
        throwNoItemToMakeCurrent(index, skills_.size());
    }
}

}  // namespace quorrel::cli
