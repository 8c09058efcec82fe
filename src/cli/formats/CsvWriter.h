#pragma once

#include <ostream>

#include "SkillDump.h"

namespace quorrel::cli {

// The dump as CSV (RFC 4180) for spreadsheets: the header "record,name,checked,flag", then one
// row per index record the load went through: a skill's with its record number, its name in
// UTF-8, "true" or "false" and its flag byte, an empty slot's with its record number alone. A
// name holding a comma, a quote or a line break is quoted, its quotes doubled. Rows end in CR LF.
void writeSkillsAsCsv(std::ostream& out, const SkillDump& dump);

}  // namespace quorrel::cli
