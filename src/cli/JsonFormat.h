#pragma once

#include <string>

#include "SkillDump.h"

namespace quorrel::cli {

// The dump as one JSON document, indented by two spaces and ending in a newline:
//   {"skills": [{"name": "Dowsing", "checked": true}, ...], "error": null}
// When the load failed, "error" is {"kind": "<failureKindName>", "message": "<description>"}.
// Keys keep this order. Non-ASCII characters are written as UTF-8, not as \u escapes.
std::string skillsAsJson(const SkillDump& dump);

}  // namespace quorrel::cli
