#include "TargetLocks.h"

#include <map>
#include <string>
#include <tuple>

#include "SideNames.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/files/FileSystem.h"
#include "runtime/files/PathParts.h"
#include "runtime/system/InterruptionsHeld.h"

namespace quorrel {
namespace {

// How often a lock is tried while another run holds it, and how many times the run may find the
// lock's file gone or replaced after taking it, or fail to look at it, before it gives up.
constexpr int kLockPollMilliseconds = 50;
constexpr int kLockAttempts = 100;

}  // namespace

std::unique_ptr<HeldLock> takeLock(FileSystem& fileSystem, const std::string& local,
                                   const std::function<void()>& waiting) {
    int busy = 0;
    std::string unsettled;
    for (int attempt = 0; attempt < kLockAttempts;) {
        LockAttempt tried = fileSystem.tryLock(local);
        if (tried.held) {
            return std::move(tried.held);
        }
        if (tried.busy) {
            if (++busy == 2) {
                waiting();
            }
        } else {
            ++attempt;
            if (tried.unsettled.empty()) {
                // The run that held it removed it: the next try takes the file the next run makes.
                continue;
            }
            // A file system that cannot say (a failing disk, a stale network handle), or a lock
            // file Windows is still removing, is given a few moments, not for ever.
            unsettled = std::move(tried.unsettled);
        }
        if (interruptionRequestedWithin(kLockPollMilliseconds)) {
            throw Interrupted();
        }
    }
    throw Failure(
        FailureKind::WriteError,
        "cannot lock " + inQuotes(local) + ": " +
            (!unsettled.empty() ? unsettled
                                : "it was removed or replaced each of " +
                                      std::to_string(kLockAttempts) + " times it was taken"));
}

std::optional<std::pair<LocalPath, LockState>> runInProgress(FileSystem& fileSystem,
                                                             std::span<const LocalPath> targets) {
    for (const LocalPath& target : targets) {
        const LockState state = fileSystem.lockState(SideNames(target.local).lock());
        if (state != LockState::Free) {
            return std::pair(target, state);
        }
    }
    return std::nullopt;
}

TargetLocks::TargetLocks(FileSystem& fileSystem, std::span<const LookedAt> targets,
                         const std::function<void(const LocalPath&)>& waiting) {
    // By the folder's identity and the lock's name, which two runs agree on however they spell
    // the paths.
    using Key = std::tuple<FileIdentity, std::string>;
    struct Lock {
        std::string path;
        const LocalPath* target;
    };
    std::map<Key, Lock> order;
    for (const LookedAt& target : targets) {
        std::string lock = SideNames(target.path.local).lock();
        Key key{target.folder.value_or(FileIdentity{}), nameOf(lock)};
        order.try_emplace(std::move(key), Lock{std::move(lock), &target.path});
    }
    for (const auto& entry : order) {
        const Lock& lock = entry.second;
        held_.push_back(takeLock(fileSystem, lock.path,
                                 [&waiting, target = lock.target] { waiting(*target); }));
    }
}

}  // namespace quorrel
