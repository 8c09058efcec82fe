#pragma once

#include "runtime/files/FileSystem.h"
#include "runtime/files/LocalPath.h"

namespace quorrel {

// The file a write of `target` replaces. A symbolic link is followed, so that the link stays and
// what it leads to is replaced, as a read of it reads that, but only where the system itself
// would follow it for a shell's ">" (Linux's protected_symlinks): a link in a folder that is
// sticky and writable by everyone (/tmp, a shared game folder) is followed only when it is the
// caller's or the folder owner's, so that a link another user planted never leads a write. A
// refused link is a write-error failure naming the link and its owner; so is a link that leads to
// nothing, said as such. Where this system follows no link itself (Windows) the target is written
// as it is. The target's local path becomes the file's own, links resolved.
LocalPath followTargetLinks(FileSystem& fileSystem, LocalPath target);

}  // namespace quorrel
