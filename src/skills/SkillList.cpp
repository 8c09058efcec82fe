#include "SkillList.h"

#include <string>

#include "runtime/base/Failure.h"

namespace quorrel {

bool SkillList::holds(int index, std::size_t count) noexcept {
    return index >= 0 && static_cast<std::size_t>(index) < count;
}

void SkillList::throwNoItemToCheck(int index, std::size_t count) {
    throw Failure(FailureKind::ListOperation, "cannot set the check mark of item " +
                                                  std::to_string(index) + ": the list has " +
                                                  std::to_string(count) + " items");
}

void SkillList::throwNoItemToMakeCurrent(int index, std::size_t count) {
    throw Failure(FailureKind::InvalidListIndex, "cannot make item " + std::to_string(index) +
                                                     " current: the list has " +
                                                     std::to_string(count) + " items");
}

}  // namespace quorrel
