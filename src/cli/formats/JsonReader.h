#pragma once

#include <istream>

#include "ListLimits.h"
#include "skills/SkillTableBuilder.h"

namespace quorrel::cli {

// Reads a table in quorrel-dump's JSON format (JsonFormat.h) into `table`, event by event, so
// memory holds one skill at a time beside the table. "record" and "flag" may be left out (the
// next record, and flag 1 or 0 from "checked"); "checked" may be left out when "flag" is given,
// and when both are given they must agree. "recordCount", when given, ends the index with empty
// slots up to that many records. A document whose "error" is not null describes a load that
// stopped early, so its list is partial and it is refused, whatever its "error" holds. Throws a
// bad-input failure naming the line and column of a syntax error, or the skill as "skills[N]"
// (counted from 0), for a key given twice, and for a string or number past `longest` bytes.
void readJsonTable(std::istream& in, SkillTableBuilder& table,
                   std::size_t longest = kLongestListedName);

}  // namespace quorrel::cli
