#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FileWriter.h"

namespace quorrel {

// A file to write and everything it is to hold.
struct FileContents {
    TargetPath target;
    std::span<const std::uint8_t> bytes;
};

enum class ExistingFiles { Refuse, Replace };

// Writes all the files or none, leaving every target as it was when it fails:
//  1. each file's bytes go to a new temporary file beside its target and are flushed to disk;
//  2. the targets are then renamed into place in the order given. Before a target that is not
//     the last is replaced, the old file is renamed aside to a backup beside it; the last one
//     is replaced in the one rename that puts the new file in place;
//  3. when a rename fails, the targets already placed get their old files back (or are removed
//     when there were none), and then every temporary file and backup is removed.
// Only a stop of the whole process between two renames (a power cut, a kill that cannot be
// caught) can leave some targets new and others old; the old file of each target placed is then
// in its backup, named ".NAME.quorrel-old-*" beside it.
//
// With ExistingFiles::Refuse an existing target fails the run before anything is written, and
// the renames never replace a file that appears meanwhile. Throws a Failure naming the file and
// the system's reason; when a restore itself fails, it says where the old file was kept.
void replaceFiles(FileWriter& writer, std::span<const FileContents> files, ExistingFiles existing);

}  // namespace quorrel
