#pragma once

#include <ostream>
#include <span>

#include "skills/MemorySkillList.h"

namespace quorrel::cli {

// One line per item, in list order: "[x] Name" when its check mark is set, "[ ] Name" when clear.
// Names are written as they are held (UTF-8).
void writeSkillsAsText(std::ostream& out, std::span<const SkillItem> skills);

}  // namespace quorrel::cli
