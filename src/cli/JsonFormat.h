#pragma once

#include <ostream>

#include "SkillDump.h"

namespace quorrel::cli {

// Writes the dump as one JSON document, indented by two spaces and ending in a newline:
//   {"skills": [{"record": 0, "name": "Dowsing", "checked": true, "flag": 1}, ...],
//    "recordCount": 1, "error": null}
// When the load failed, "error" is {"kind": "<failureKindName>", "message": "<description>"}.
// Keys keep this order. Non-ASCII characters are written as UTF-8, not as \u escapes. The
// document is written as it goes, never built whole in memory.
void writeSkillsAsJson(std::ostream& out, const SkillDump& dump);

}  // namespace quorrel::cli
