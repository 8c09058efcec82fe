#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "skills/SkillRow.h"

namespace quorrel::cli {

// One line per item, in list order: "[x] Name" when its check mark is set, "[ ] Name" when clear.
// Names are written in UTF-8 with every control character (C0, DEL and C1) and the backslash
// escaped ("\n", "\t", "\r", "\x1b", "\\"), so each skill is exactly one line and no name can
// send the terminal a command.
void writeSkillsAsText(std::ostream& out, std::span<const SkillRow> skills);

// The name as the text format writes it, escapes and all: for messages that name a skill.
std::string escapedName(std::string_view name);

}  // namespace quorrel::cli
