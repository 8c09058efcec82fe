#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "runtime/files/FileSystem.h"

namespace quorrel {

// The first of the targets whose lock a live run holds, or whose lock cannot be asked, as
// FileWriter::lockState tells; nothing when no run holds any.
std::optional<std::pair<LocalPath, LockState>> runInProgress(FileSystem& fileSystem,
                                                             std::span<const LocalPath> targets);

// The locks of the targets (FileWriter::lock, beside each target), taken in an order every run
// agrees on, so that two runs never each hold one and wait for the other.
class TargetLocks {
  public:
    TargetLocks(FileSystem& fileSystem, std::span<const LocalPath> targets,
                const std::function<void(const LocalPath&)>& waiting);

  private:
    std::vector<std::unique_ptr<HeldLock>> held_;
};

}  // namespace quorrel
