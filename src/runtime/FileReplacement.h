#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FileWriter.h"

namespace quorrel {

// The bytes a file is to hold, as pieces written one after another.
using FilePieces = std::vector<std::span<const std::uint8_t>>;

// One version of one of the targets: the files are put in place version after version, and a
// target may get several, each replacing the one before.
struct FileVersion {
    std::size_t target;  // its place among the targets
    FilePieces pieces;
};

// A file to write and everything it is to hold, when each target gets one version.
struct FileContents {
    TargetPath target;
    std::span<const std::uint8_t> bytes;
};

enum class ExistingFiles { Refuse, Replace };

// Puts the versions in place, all or none, leaving every target as it was when it fails:
//  1. every version's bytes go to a new temporary file beside its target (SideNames) and are
//     flushed to disk, before anything else is done;
//  2. each existing target is given a second name, its backup, by a hard link (or a copy), so
//     the old file is never absent, not even for an instant;
//  3. the versions are renamed into place in the order given, each in one rename that replaces
//     the file before it, which is first given a second name of its own when it is one of the
//     run's versions;
//  4. when a step fails, the versions placed are undone last first, each by renaming the file it
//     replaced back (or removing it when there was none), so the targets go back through the
//     same states they came through; a target that is no longer the file the run put there is
//     never touched. Then every temporary file and backup is removed.
// A stop of the whole process (a power cut, a kill that cannot be caught) leaves the targets as
// the last rename left them, and the backups beside them; tidyAfterInterruptedRuns deals with
// what it leaves. The caller chooses the order of the versions, and holds the targets' locks.
//
// With ExistingFiles::Refuse an existing target fails the run before anything is written, and
// the first rename onto each target never replaces a file that appears meanwhile. Throws a
// Failure naming the file and the system's reason; when undoing fails, it says where the old
// files are kept.
void replaceFiles(FileWriter& writer, std::span<const TargetPath> targets,
                  std::span<const FileVersion> versions, ExistingFiles existing);

// The same with one version for each file, in the order given.
void replaceFiles(FileWriter& writer, std::span<const FileContents> files, ExistingFiles existing);

}  // namespace quorrel
