#include "TargetLocks.h"

#include <map>
#include <string>
#include <tuple>

#include "SideNames.h"
#include "runtime/files/FileSystem.h"
#include "runtime/files/PathParts.h"

namespace quorrel {

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
        held_.push_back(
            fileSystem.lock(lock.path, [&waiting, target = lock.target] { waiting(*target); }));
    }
}

}  // namespace quorrel
