#pragma once

#include <optional>
#include <span>
#include <string>

#include "LookedAt.h"
#include "runtime/files/FileSystem.h"

namespace quorrel {

// The old file a run replaces, kept on request as NAME.bak beside its target once the new files
// are in place: a file of the user's, not of the run's, so that no later run reports it as a
// stopped run's or removes it.
LocalPath bakPathOf(const LocalPath& target);

// Refuses, with a write-error failure, to keep the target's old file as its .bak when the rename
// that puts it there would lose or misplace something: a .bak that is a symbolic link (whoever
// planted it chose the name), a folder, a device or a pipe, another user's file in a folder where
// only an entry's owner may remove it, or one of `others`, the other paths given, by name or as the
// file a link leads to. A .bak that is a second name of the target itself is not refused: the
// rename leaves it holding the same file. A target that does not exist has no old file to keep,
// and nothing is refused.
void refuseBakFile(FileSystem& fileSystem, const LookedAt& target,
                   std::span<const LookedAt> others);

}  // namespace quorrel
