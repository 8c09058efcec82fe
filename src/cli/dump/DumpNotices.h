#pragma once

#include <optional>
#include <string>

#include "cli/formats/SkillDump.h"
#include "runtime/text/CodePage.h"

namespace quorrel::cli {

// What quorrel-dump says on standard error, in one line each, where quorrel-pack would not give
// the printed table back as it stands; nothing when it would. The exit status stays what the load
// makes it: the table was printed as asked.

// The text format keeps only names and check marks: the empty slots before or between skills
// (packed, the skills after them move to other records), those after the last skill (dropped)
// and flags other than 0 and 1 (written as 1) are said, with the formats that keep them.
std::optional<std::string> whatTextLeavesOut(const SkillDump& dump);

// The records whose names are written with a second spelling of a character in `codePage`, which
// quorrel-pack writes in its first: their text comes back, their bytes do not.
std::optional<std::string> namesWrittenBackOtherwise(const SkillDump& dump, CodePage codePage);

}  // namespace quorrel::cli
