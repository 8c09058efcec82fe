#pragma once

#include <istream>

#include "ListLimits.h"
#include "skills/SkillTableBuilder.h"

namespace quorrel::cli {

// Reads a table in quorrel-dump's CSV format (CsvFormat.h, RFC 4180) into `table`: the header
// "record,name,checked,flag", then one row per skill with its record number, its name, its
// check mark and its flag byte, where a row with its record alone is an empty slot. 0.2.0's
// header "record,name,checked" is read too, its check marks as flags 1 and 0, and so are ';'
// between the fields when the header has them. A check mark is "true" or "false" in any letter
// case, or 1 or 0; either the check mark or the flag may be left empty, and when both are given
// they must agree. Rows of empty fields alone are skipped. Rows may end in CR LF or LF; a quoted
// field may hold separators, doubled quotes and line breaks. Throws a bad-input failure that
// starts with "line N: ", the line its row starts on, for a row that is not such a skill or slot,
// ends in a carriage return alone, holds a zero byte or a field that runs past `longest` bytes.
void readCsvTable(std::istream& in, SkillTableBuilder& table,
                  std::size_t longest = kLongestListedName);

}  // namespace quorrel::cli
