#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "runtime/files/FileWriter.h"

namespace quorrel {

// The first of the targets whose lock a live run holds, or whose lock cannot be asked, as
// FileWriter::lockState tells; nothing when no run holds any.
std::optional<std::pair<TargetPath, LockState>> runInProgress(FileWriter& writer,
                                                              std::span<const TargetPath> targets);

// The locks of the targets (FileWriter::lock, beside each target), taken in an order every run
// agrees on, so that two runs never each hold one and wait for the other.
class TargetLocks {
  public:
    TargetLocks(FileWriter& writer, std::span<const TargetPath> targets,
                const std::function<void(const TargetPath&)>& waiting);

  private:
    std::vector<std::unique_ptr<HeldLock>> held_;
};

}  // namespace quorrel
