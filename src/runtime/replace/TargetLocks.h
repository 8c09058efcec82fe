#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "LookedAt.h"
#include "runtime/files/FileSystem.h"

namespace quorrel {

// The first of the targets whose lock a live run holds, or whose lock cannot be asked, as
// FileSystem::lockState tells; nothing when no run holds any.
std::optional<std::pair<LocalPath, LockState>> runInProgress(FileSystem& fileSystem,
                                                             std::span<const LocalPath> targets);

// The locks of the targets (FileSystem::lock, beside each target), taken in an order every run
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
