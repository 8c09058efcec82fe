#include "ListViewSkillList.h"

#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "runtime/base/Failure.h"

namespace quorrel {

int ListViewSkillList::NewIndex() const {
    return static_cast<int>(model_.storedCount()) - 1;
}

void ListViewSkillList::appendItem(std::string text) {
    const std::size_t size = text.size();
    try {
        model_.append(std::move(text));
    } catch (const std::bad_alloc&) {
        throw Failure(FailureKind::OutOfMemory, "cannot add an item of " + std::to_string(size) +
                                                    " bytes to the list: out of memory");
    } catch (const std::length_error&) {
        throw Failure(FailureKind::OutOfMemory, "cannot add an item of " + std::to_string(size) +
                                                    " bytes to the list: the list is full");
    }
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
