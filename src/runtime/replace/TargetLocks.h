#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "LookedAt.h"
#include "runtime/files/FileSystem.h"

namespace quorrel {

// The first of the targets whose lock a live run holds, or whose lock cannot be asked, as
// FileSystem::lockState tells; nothing when no run holds any.
std::optional<std::pair<LocalPath, LockState>> runInProgress(FileSystem& fileSystem,
                                                             std::span<const LocalPath> targets);

// Takes the advisory lock that the file `local` stands for (FileSystem::tryLock) and holds it until
// the returned object goes. Waits while another process holds it, calling `waiting` once, when a
// second try finds it still held (quorrel-dump holds a lock a moment to ask whether a run is on);
// a request to stop the program that comes meanwhile, while interruptions are held, ends the wait
// with Interrupted. A lock whose file is removed or replaced as it is taken, or cannot be looked
// at, is tried again a number of times, then given up with a write-error failure.
std::unique_ptr<HeldLock> takeLock(FileSystem& fileSystem, const std::string& local,
                                   const std::function<void()>& waiting);

// The locks of the targets (takeLock, beside each target), taken in an order every run
// agrees on, so that two runs never each hold one and wait for the other: by the identity of the
// folder, as the targets were looked at, and the lock's name.
class TargetLocks {
  public:
    TargetLocks(FileSystem& fileSystem, std::span<const LookedAt> targets,
                const std::function<void(const LocalPath&)>& waiting);

  private:
    std::vector<std::unique_ptr<HeldLock>> held_;
};

}  // namespace quorrel
