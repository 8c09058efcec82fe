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

std::size_t ListViewSkillList::itemCount() const {
    return model_.storedCount();
}

void ListViewSkillList::checkItem(std::size_t index, bool checked) {
    model_.setChecked(index, checked);
}

void ListViewSkillList::makeCurrent(std::size_t index) {
    publishPending();
    view_.setCurrentIndex(model_.index(static_cast<int>(index)));
}

}  // namespace quorrel
