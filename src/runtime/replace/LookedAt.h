#pragma once

#include <optional>

#include "runtime/files/FileSystem.h"
#include "runtime/files/LocalPath.h"

namespace quorrel {

// A path as the file system showed it when it was looked at: the file there, if any, and its
// folder, each by its identity. quorrel-pack looks at its targets once before it reads its list
// and once more under their locks, and asks these looks what it needs to know of them: whether
// one exists, whether two are one file, which folder a lock is in.
struct LookedAt {
    LocalPath path;
    std::optional<FileIdentity> file;    // the file or folder there, links followed
    std::optional<FileIdentity> folder;  // the folder that holds its name
};

// Looks at a path that is only compared with others; never throws: a path that leads nowhere, or
// that cannot be looked at, has no identity.
LookedAt lookAt(FileSystem& fileSystem, LocalPath path);

// Looks at a target before anything is written, refusing what a write would lose as
// FileSystem::inspectTarget does: a folder, a device or a pipe there, or a missing folder.
LookedAt lookAtTarget(FileSystem& fileSystem, LocalPath path);

// Whether the two paths name one file, whether or not it exists yet: the same file when both
// exist, else the same name in the same folder, names compared as the system compares them (as
// Windows does, ignoring case, when either is a Windows name).
bool nameOneFile(const LookedAt& first, const LookedAt& second);

}  // namespace quorrel
