#include "SkillList.h"

#include <string>
#include <utility>

#include "runtime/base/Failure.h"
#include "runtime/base/OutOfMemory.h"

namespace quorrel {

void SkillList::AddItem(std::string text) {
    if (const std::size_t zero = text.find('\0'); zero != std::string::npos) {
        text.resize(zero);
    }
    failingWhenMemoryRunsOut([&] { appendItem(std::move(text)); },
                             [size = text.size()] {
                                 return "cannot add an item of " + std::to_string(size) +
                                        " bytes to the list";
                             });
}

bool SkillList::holds(int index, std::size_t count) noexcept {
    return index >= 0 && static_cast<std::size_t>(index) < count;
}

void SkillList::Selected(int index, bool checked) {
    const std::size_t count = itemCount();
    if (!holds(index, count)) {
        throw Failure(FailureKind::ListOperation, "cannot set the check mark of item " +
                                                      std::to_string(index) + ": the list has " +
                                                      std::to_string(count) + " items");
    }
    checkItem(static_cast<std::size_t>(index), checked);
}

void SkillList::ListIndex(int index) {
    const std::size_t count = itemCount();
    if (!holds(index, count)) {
        throw Failure(FailureKind::InvalidListIndex, "cannot make item " + std::to_string(index) +
                                                         " current: the list has " +
                                                         std::to_string(count) + " items");
    }
    makeCurrent(static_cast<std::size_t>(index));
}

}  // namespace quorrel
