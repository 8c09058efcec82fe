#pragma once

#include <istream>

#include "skills/SkillTableBuilder.h"

namespace quorrel::cli {

// Reads a table in quorrel-dump's text format into `table`: one line per skill, "[x] Name" with
// flag 1 or "[ ] Name" with flag 0, in list order, the escapes the format writes ("\n", "\r",
// "\t", "\\", "\xHH" for U+00HH) turned back into their characters. A line may end in CR LF.
// Throws a bad-input failure that starts with "line N: " for a line that is not such a skill.
void readTextTable(std::istream& in, SkillTableBuilder& table);

}  // namespace quorrel::cli
