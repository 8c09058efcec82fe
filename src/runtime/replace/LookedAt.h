#pragma once

#include <optional>
#include <string>
#include <string_view>

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

// Looks at a target before anything is written: the regular file there, or nothing for a missing
// name in an existing folder. Anything else put in its place would be lost, so a folder, a
// device or a pipe there ("cannot write "uo": it is a folder, not a regular file"), a missing
// folder, or a system that cannot say, is a write-error failure.
LookedAt lookAtTarget(FileSystem& fileSystem, LocalPath path);

// What a kind of file is called in messages: "a folder", "a pipe", "a symbolic link".
std::string kindName(FileKind kind);

// Whether the two paths name one file, whether or not it exists yet: the same file when both
// exist, else the same name in the same folder, names compared as the system compares them (as
// Windows does, ignoring case, when either is a Windows name).
bool nameOneFile(const LookedAt& first, const LookedAt& second);

// A path a program was given, with the option that gave it ("--data"), as it was looked at.
struct GivenPath {
    std::string_view option;
    const LookedAt& looked;
};

// Refuses two given paths that name one file (nameOneFile), whether or not it exists yet, with a
// write-error failure that names both as the user gave them: "--data "a" and --index "b" are the
// same file". Both programs refuse so, before they read or write anything: quorrel-pack's two
// targets and the list it reads, quorrel-dump's output and the two files it reads.
void refuseOneFileTwice(const GivenPath& first, const GivenPath& second);

}  // namespace quorrel
