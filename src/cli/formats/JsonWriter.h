#pragma once

#include <ostream>

#include "SkillDump.h"

namespace quorrel::cli {

// Writes the dump as one JSON document in the shape JsonFormat.h gives, indented by two spaces
// and ending in a newline; "error" is {"kind": "<failureKindName>", "message": "<description>"}
// when the load failed. Keys keep that order. Non-ASCII characters are written as UTF-8, not as
// \u escapes. The document is written as it goes, never built whole in memory.
void writeSkillsAsJson(std::ostream& out, const SkillDump& dump);

}  // namespace quorrel::cli
