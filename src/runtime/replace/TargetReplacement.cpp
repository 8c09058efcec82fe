#include "TargetReplacement.h"

#include <utility>

#include "BakFiles.h"
#include "SideNames.h"
#include "TargetLinks.h"
#include "TargetLocks.h"
#include "runtime/base/Failure.h"
#include "runtime/system/InterruptionsHeld.h"

namespace quorrel {
namespace {

// The old file as the versions need it. One that cannot be read (no permission, say) is still
// replaced, only without its bytes.
OldFile oldFile(FileSystem& fileSystem, const LookedAt& target, std::uint64_t largest) {
    if (!target.file) {
        return {};
    }
    try {
        return {true, fileSystem.readWholeFile(target.path, largest)};
    } catch (const Failure&) {
        return {true, std::nullopt};
    }
}

}  // namespace

TargetReplacement::TargetReplacement(FileSystem& fileSystem, std::vector<NamedTarget> targets,
                                     ReplacementSteps steps)
    : fileSystem_(fileSystem), named_(std::move(targets)), steps_(std::move(steps)) {
    looked_ = look();
    // From here on the files behind the links: the locks are theirs.
    for (std::size_t i = 0; i < named_.size(); ++i) {
        named_[i].path = looked_[i].path;
    }
}

std::vector<LookedAt> TargetReplacement::look() const {
    std::vector<LookedAt> looked;
    for (const NamedTarget& target : named_) {
        looked.push_back(lookAtTarget(fileSystem_, target.path));
    }
    // Both written, one file would end up holding only what was put there last.
    for (std::size_t i = 0; i < looked.size(); ++i) {
        for (std::size_t j = i + 1; j < looked.size(); ++j) {
            refuseOneFileTwice({named_[i].option, looked[i]}, {named_[j].option, looked[j]});
        }
    }
    // It would be taken for another target's temporary file, backup or lock, and removed with it.
    for (const LookedAt& target : looked) {
        refuseSideName(target.path);
    }
    std::vector<LookedAt> sources;
    for (const NamedTarget& read : steps_.reads) {
        const LookedAt& source = sources.emplace_back(lookAt(fileSystem_, read.path));
        for (std::size_t i = 0; i < looked.size(); ++i) {
            refuseOneFileTwice({read.option, source}, {named_[i].option, looked[i]});
        }
    }
    if (!steps_.toReplaceExisting.empty()) {
        for (const LookedAt& target : looked) {
            if (target.file) {
                throw Failure(FailureKind::WriteError, target.path.quoted() + " already exists; " +
                                                           std::string(steps_.toReplaceExisting) +
                                                           " replaces it");
            }
        }
    }
    if (steps_.keepOldAsBak) {
        // Each target's .bak is checked against every path given but the target itself.
        for (std::size_t i = 0; i < looked.size(); ++i) {
            std::vector<LookedAt> others = sources;
            for (std::size_t j = 0; j < looked.size(); ++j) {
                if (j != i) {
                    others.push_back(looked[j]);
                }
            }
            refuseBakFile(fileSystem_, looked[i], others);
        }
    }
    return looked;
}

std::vector<std::string> TargetReplacement::replace() {
    // From here on a request to stop waits until the run has finished, or undone, what it is
    // doing, and let go of its locks; waiting for a lock gives way to it.
    const InterruptionsHeld held;
    const TargetLocks locks(fileSystem_, looked_, steps_.waiting);
    // Looked at again, now that no other run can change them: the files may have changed since
    // the first look, and what is there now is what this run replaces.
    const std::vector<LookedAt> first = std::exchange(looked_, look());
    for (std::size_t i = 0; i < looked_.size(); ++i) {
        // A target made a link meanwhile leads elsewhere than the file this run has locked.
        if (looked_[i].path.local != first[i].path.local) {
            throw Failure(FailureKind::WriteError, looked_[i].path.quoted() +
                                                       " was changed into a link while the run " +
                                                       "read its list; nothing was written");
        }
    }
    steps_.left(tidyAfterInterruptedRuns(fileSystem_, looked_));
    std::vector<OldFile> old;
    for (const LookedAt& target : looked_) {
        old.push_back(oldFile(fileSystem_, target, steps_.largestOldFile));
    }
    std::vector<LocalPath> baks;
    std::unique_ptr<ReplacementVersions> bakVersions;
    if (steps_.keepOldAsBak) {
        std::vector<OldFile> earlier;
        for (const LookedAt& target : looked_) {
            baks.push_back(bakPathOf(target.path));
            earlier.push_back(
                oldFile(fileSystem_, lookAt(fileSystem_, baks.back()), steps_.largestOldFile));
        }
        bakVersions = steps_.keepOldAsBak(std::move(earlier), old);
    }
    const std::unique_ptr<ReplacementVersions> versions = steps_.versions(std::move(old));
    const KeptAsBak kept{baks,
                         bakVersions ? bakVersions->versions() : std::span<const FileVersion>()};
    return replaceFiles(fileSystem_, looked_, versions->versions(), kept);
}

StoppedRunsReport whatStoppedRunsLeft(FileSystem& fileSystem, std::vector<LocalPath> targets) {
    // A run wrote beside the file a link leads to; a link no run follows has nothing beside it.
    for (LocalPath& target : targets) {
        try {
            target = followTargetLinks(fileSystem, target);
        } catch (const Failure&) {
        }
    }
    if (auto live = runInProgress(fileSystem, targets)) {
        return {std::move(live), {}};
    }
    std::vector<LookedAt> looked;
    for (LocalPath& path : targets) {
        looked.push_back(lookAt(fileSystem, std::move(path)));
    }
    return {std::nullopt, findKeptFiles(fileSystem, looked)};
}

}  // namespace quorrel
