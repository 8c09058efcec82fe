#pragma once

#include <istream>

#include "ListLimits.h"
#include "skills/SkillTableBuilder.h"

namespace quorrel::cli {

// Reads a table in quorrel-dump's text format into `table`: one line per skill, "[x] Name" with
// flag 1 or "[ ] Name" with flag 0, in list order, the escapes the format writes ("\n", "\r",
// "\t", "\\", "\xHH" for U+00HH) turned back into their characters. A line may end in CR LF.
// Throws a bad-input failure that starts with "line N: " for a line that is not such a skill,
// holds a carriage return elsewhere (a file with CR line ends) or a zero byte, or runs past
// `longest` bytes.
void readTextTable(std::istream& in, SkillTableBuilder& table,
                   std::size_t longest = kLongestListedName);

}  // namespace quorrel::cli
