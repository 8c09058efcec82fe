#pragma once

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "LookedAt.h"
#include "runtime/files/FileSystem.h"

namespace quorrel {

// The old files a run of replaceFiles was replacing when it was stopped (a power cut, a kill that
// cannot be caught), still under the backup names that run gave them, all with one tag.
struct KeptFiles {
    struct Kept {
        LocalPath target;
        std::string backup;
        bool sameAsTarget = false;  // the target has not been replaced since
    };
    std::vector<Kept> files;
    std::size_t made = 0;  // how many backups the run made; more than `files` when some are gone

    bool whole() const noexcept { return files.size() >= made; }
};

// An entry beside a target with the name of one of the hidden files a run makes, which no run can
// have made: a link, a folder, a pipe, or, in a folder where only an entry's owner may remove it,
// another user's file. Such an entry is never removed, nor offered to be put back.
struct UnexpectedFile {
    LocalPath target;
    std::string path;
    std::string why;  // "it is a symbolic link", "it is owned by another user"
};

// Why the entry at `local`, named as one of the hidden files a run makes beside `target` (or as
// the .bak it keeps, BakFiles), cannot be one a run made, looked at itself, a link not followed:
// it is a link, a folder or a pipe, or, in a folder where only an entry's owner may remove it
// (the sticky bit, as on /tmp), it is owned by neither the caller nor the target's owner.
// Elsewhere whoever may write the folder may replace the target itself anyway. Nothing when it
// can be.
std::optional<std::string> whyNotMadeByARun(FileSystem& fileSystem, const std::string& local,
                                            const std::string& target);

// What runs that were stopped left beside the targets, and what looks like it but is not.
struct LeftBeside {
    std::vector<KeptFiles> kept;
    std::vector<UnexpectedFile> unexpected;
};

// Finds the backups beside the targets, as they were looked at, one entry per run, leaving out runs
// whose every backup is still the target itself: those had replaced nothing, so their backups hold
// nothing else. Touches nothing.
LeftBeside findKeptFiles(FileSystem& fileSystem, std::span<const LookedAt> targets);

// Cleans up after runs that were stopped, while the caller holds the targets' locks, so that no
// live run's files are among them: removes their temporary files and the backups that hold
// nothing else. Returns the runs whose backups hold old files, to be reported; those are never
// removed, and neither are unexpected entries.
LeftBeside tidyAfterInterruptedRuns(FileSystem& fileSystem, std::span<const LookedAt> targets);

}  // namespace quorrel
