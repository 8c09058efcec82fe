#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "SkillDump.h"

namespace quorrel::cli {

// The first row of the CSV, which quorrel-pack expects back.
inline constexpr std::string_view kCsvHeader = "record,name,checked";

// The items as CSV (RFC 4180) for spreadsheets: a header "record,name,checked", then one row per
// item with its record number, its name in UTF-8 and "true" or "false". A name holding a comma,
// a quote or a line break is quoted, its quotes doubled. Rows end in CR LF.
void writeSkillsAsCsv(std::ostream& out, std::span<const DumpedSkill> skills);

}  // namespace quorrel::cli
