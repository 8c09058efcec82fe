#include "ListViewSkillList.h"

#include <string>
#include <utility>

namespace quorrel {

int ListViewSkillList::NewIndex() const {
    return static_cast<int>(model_.storedCount()) - 1;
}

void ListViewSkillList::appendItem(std::string text) {
    model_.append(std::move(text));
}

void ListViewSkillList::Selected(int index, bool checked) {
    if (!holds(index, model_.storedCount())) {
        throwNoItemToCheck(index, model_.storedCount());
    }
    model_.setChecked(static_cast<std::size_t>(index), checked);
}

void ListViewSkillList::ListIndex(int index) {
    if (!holds(index, model_.storedCount())) {
        throwNoItemToMakeCurrent(index, model_.storedCount());
    }
    publishPending();
    view_.setCurrentIndex(model_.index(index));
}

}  // namespace quorrel
