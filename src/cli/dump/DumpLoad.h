#pragma once

#include <string>

#include "cli/formats/SkillDump.h"
#include "runtime/filetable/FileTable.h"
#include "runtime/text/CodePage.h"

namespace quorrel::cli {

// Runs the load action once on the two paths, with the files of `files`, converting the names
// through `codePage`. Never throws a Failure: it is handed back instead, and memory running out is
// one too.
SkillDump loadDump(const std::string& dataPath, const std::string& indexPath, CodePage codePage,
                   FileTable& files);

}  // namespace quorrel::cli
