#pragma once

#include <optional>
#include <span>

#include "cli/formats/SkillDump.h"
#include "runtime/files/FileSystem.h"
#include "runtime/replace/LookedAt.h"
#include "runtime/text/CodePage.h"
#include "skills/SkillFileLayout.h"

namespace quorrel::cli {

// The table a pack replaces, as it stands before the pack: what the load action reads of it, as
// quorrel-dump would, and its two files' bytes when both can be read and held.
struct TableInPlace {
    bool exists = false;  // either file is there
    SkillDump read;
    std::optional<SkillFiles> bytes;
};

// Reads the table at the two targets (data, then index) as they were looked at, its names in
// `codePage`. Never throws a Failure: a table that cannot be read whole keeps what was read and
// the failure, and files too large to hold, or that cannot be read, have no bytes.
TableInPlace readTableInPlace(FileSystem& fileSystem, std::span<const LookedAt> targets,
                              CodePage codePage);

}  // namespace quorrel::cli
