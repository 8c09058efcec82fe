#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "LookedAt.h"
#include "runtime/files/FileSystem.h"

namespace quorrel {

// A piece of what a file is to hold: `bytes`, written `times` over, so that a run of the same
// bytes (a table's empty slots, say) need not be held in memory as often as it is written.
struct FilePiece {
    FilePiece(std::span<const std::uint8_t> piece, std::uint64_t over = 1)
        : bytes(piece), times(over) {}
    FilePiece(const std::vector<std::uint8_t>& piece) : bytes(piece) {}

    std::span<const std::uint8_t> bytes;
    std::uint64_t times = 1;
};

// The bytes a file is to hold, as pieces written one after another.
using FilePieces = std::vector<FilePiece>;

// One version of one of the targets: the files are put in place version after version, and a
// target may get several, each replacing the one before.
struct FileVersion {
    std::size_t target;  // its place among the targets
    FilePieces pieces;
};

// The old files kept as NAME.bak (BakFiles) once every version is in place: `versions`, whose
// targets are the run's, take each .bak from what it holds to its target's old file, each in one
// rename that replaces what is there. The last version of each target is the old file itself,
// renamed there from its backup; the others are written with the run's own versions (step 1
// below), so that nothing is left to write once a target is touched. A target that had no old file
// gets none. When a step fails, the steps stop there and the old files not yet renamed stay under
// their backups' names, which a note gives.
struct KeptAsBak {
    std::span<const LocalPath> paths;  // each target's .bak
    std::span<const FileVersion> versions;
};

// Puts the versions in place, all or none, leaving every target as it was when it fails:
//  1. every version's bytes go to a new temporary file beside its target (SideNames), which gets
//     what `sed -i` keeps of the target's old file (keepWhatSedKeeps), and are flushed to disk,
//     before anything else is done;
//  2. each target that existed when it was looked at is given a second name, its backup, by a
//     hard link (or a copy), so the old file is never moved and never absent, not even for an
//     instant; the backups share a tag and say how many there are;
//  3. the versions are renamed into place in the order given, each in one rename. It replaces
//     only a file the run has kept: the target's old file, or an earlier version of the run,
//     which is first given a temporary second name of its own; a file that appears meanwhile
//     makes the rename fail;
//  4. when a step fails, the versions placed are undone last first, each by renaming the file it
//     replaced back (or removing it when there was none), so the targets go back through the
//     states they came through; a target that is no longer the file the run put there is never
//     touched, and undoing stops there. Then the temporary files and the backups are removed,
//     but for backups still needed, which the failure's message names.
// A request to stop the program (InterruptionsHeld) that comes while the temporary files are
// written ends the run with Interrupted before any target is touched; one that comes later waits
// until the versions are all in place, or undone after a failure.
// A stop of the whole process (a power cut, a kill that cannot be caught) leaves the targets as
// the last rename left them, with the backups beside them; tidyAfterInterruptedRuns deals with
// what it leaves. TargetReplacement, the one caller, does what must come first: it holds the
// targets' locks, looks at the targets under them and refuses what must not be written.
//
// With `kept`, the old files are kept as .bak files once every version is in place (KeptAsBak).
//
// Throws a Failure naming the file and the system's reason, with where the old files are kept
// when undoing failed. Returns, once the versions are in place, a note for each target whose new
// file could not keep all that its old one had, for each backup that could not be removed, and for
// old files that could not all be kept as .bak files, which says what became of them.
std::vector<std::string> replaceFiles(FileSystem& fileSystem, std::span<const LookedAt> targets,
                                      std::span<const FileVersion> versions,
                                      const KeptAsBak& kept = {});

}  // namespace quorrel
