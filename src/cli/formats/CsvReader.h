#pragma once

#include <istream>

#include "ListLimits.h"
#include "skills/SkillTableBuilder.h"

namespace quorrel::cli {

// Reads a table in quorrel-dump's CSV format (RFC 4180) into `table`: the header
// "record,name,checked", then one row per skill with its record number, its name and "true"
// (flag 1) or "false" (flag 0). Rows may end in CR LF or LF; a quoted field may hold commas,
// doubled quotes and line breaks. Throws a bad-input failure that starts with "line N: ", the
// line its row starts on, for a row that is not such a skill, ends in a carriage return alone,
// holds a zero byte or a field that runs past `longest` bytes.
void readCsvTable(std::istream& in, SkillTableBuilder& table,
                  std::size_t longest = kLongestListedName);

}  // namespace quorrel::cli
