#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FileReplacement.h"
#include "InterruptedRuns.h"
#include "LookedAt.h"
#include "runtime/files/FileSystem.h"

namespace quorrel {

// How files that may be someone's only copy are replaced, and what a run stopped at any moment
// leaves. The contract, which everything in this room keeps:
//  - Old or new, never a mix: each target is its old file or one of the versions given, whole,
//    at every moment, and the targets together pass only through the states the versions' order
//    gives, whatever stops the run (a failure, Ctrl+C or SIGTERM, a kill, a power cut).
//  - One run at a time: a run holds every target's lock (".NAME.quorrel-lock") from its last look
//    at the targets until it has finished or undone, and waits for a run that holds one.
//  - Nothing lost: a failure undoes what was done; a request to stop waits until the run has
//    finished or undone; a stop of the whole process leaves the old files beside the targets
//    (".NAME.quorrel-old-TAG-N") and temporary files (".NAME.quorrel-new-TAG"). The next run
//    removes what holds nothing else and reports old files it cannot tell are spare, and
//    quorrel-dump reports them too (whatStoppedRunsLeft); neither touches what no run made.
//  - Kept on request: with keepOldAsBak the old files become NAME.bak beside each target once
//    every version is in place, through versions of their own in an order the caller gives, so
//    that the .bak files pass only through the states that order gives: for quorrel-pack, the
//    earlier backups or the old table (BakSwap). They are the user's files, never a run's: no run
//    reports or removes them (BakFiles.h).
// The steps and their order are in FileReplacement.h; the hidden names in SideNames.h. The
// first look alone (the constructor) is every check a run makes, with nothing written and no
// lock taken: what a dry run does.

// One of the targets as the new versions are made from it.
struct OldFile {
    bool exists = false;
    std::optional<std::vector<std::uint8_t>> bytes;  // its bytes, when small enough to hold
};

// The versions to put in place, made from the old files once the targets are locked; they point
// into what the object holds.
class ReplacementVersions {
  public:
    virtual ~ReplacementVersions() = default;
    virtual std::span<const FileVersion> versions() const noexcept = 0;
};

// A target, with the option that named it ("--data"), for messages.
struct NamedTarget {
    std::string_view option;
    LocalPath path;
};

// What the caller decides as a replacement goes.
struct ReplacementSteps {
    // The files read while the run lasts (the list a table is made from), which no target may be:
    // it would be read, then replaced.
    std::vector<NamedTarget> reads;
    // When empty, a target that exists already is replaced; else it is refused, with what the
    // user gives to replace it ("--force").
    std::string_view toReplaceExisting;
    // Another run holds a target's lock: said once while this run waits for it.
    std::function<void(const LocalPath&)> waiting;
    // What stopped runs left beside the targets, found under the locks, for the caller to say.
    std::function<void(const LeftBeside&)> left;
    // When given, the old files are kept as NAME.bak once the new ones are in place, and a .bak
    // that must not be replaced is refused with the other checks (refuseBakFile). It makes the
    // versions that take the .bak files from the earlier ones (read as the old files are, in the
    // targets' order) to the old files, the last of each being its old file (KeptAsBak).
    std::function<std::unique_ptr<ReplacementVersions>(std::vector<OldFile> earlierBaks,
                                                       std::vector<OldFile> old)>
        keepOldAsBak;
    // The old files (and earlier .bak files) are read whole up to this size; a larger one is given
    // without its bytes.
    std::uint64_t largestOldFile = 0;
    // The new versions, made from the old files (in the targets' order).
    std::function<std::unique_ptr<ReplacementVersions>(std::vector<OldFile>)> versions;
};

// Replacing targets, in two steps: looked at first (the constructor, refusing what a write would
// lose: what lookAtTarget refuses, two targets that name one file, a target named as a hidden
// file of a run or as a file read, an existing one unless it may be replaced), so that nothing
// long is done in vain; then
// replace(), which holds requests to stop (InterruptionsHeld), takes the locks, looks at the
// targets again and refuses again, tidies up after stopped runs, reads the old files, makes the
// versions and puts them in place (replaceFiles). Throws the Failure of any step, or Interrupted
// when a request to stop came before any target was touched.
class TargetReplacement {
  public:
    TargetReplacement(FileSystem& fileSystem, std::vector<NamedTarget> targets,
                      ReplacementSteps steps);

    // The targets as the first look found them.
    std::span<const LookedAt> targets() const noexcept { return looked_; }

    // Returns, once the versions are in place, a note for each backup that could not be removed.
    std::vector<std::string> replace();

  private:
    std::vector<LookedAt> look() const;

    FileSystem& fileSystem_;
    std::vector<NamedTarget> named_;
    ReplacementSteps steps_;
    std::vector<LookedAt> looked_;
};

// What stopped runs left beside the targets, for a program that only reads them: nothing is
// written, no lock taken. While a run holds a target's lock, or the lock cannot be asked, its
// files are its own: `live` names that target, and nothing is looked for.
struct StoppedRunsReport {
    std::optional<std::pair<LocalPath, LockState>> live;
    LeftBeside left;
};
StoppedRunsReport whatStoppedRunsLeft(FileSystem& fileSystem, std::vector<LocalPath> targets);

}  // namespace quorrel
