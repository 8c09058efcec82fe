#pragma once

#include <ostream>
#include <span>

#include "skills/SkillRow.h"

namespace quorrel::cli {

// The items as CSV (RFC 4180) for spreadsheets: a header "record,name,checked", then one row per
// item with its record number, its name in UTF-8 and "true" or "false". A name holding a comma,
// a quote or a line break is quoted, its quotes doubled. Rows end in CR LF.
void writeSkillsAsCsv(std::ostream& out, std::span<const SkillRow> skills);

}  // namespace quorrel::cli
