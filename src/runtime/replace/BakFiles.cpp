#include "BakFiles.h"

#include <algorithm>
#include <vector>

#include "runtime/base/Failure.h"
#include "runtime/files/PathParts.h"

namespace quorrel {
namespace {

// Whether there is an entry at `local`: a link that leads nowhere is one too.
bool entryThere(FileSystem& fileSystem, const std::string& local) {
    if (fileSystem.statusOf(local).presence != FileStatus::Presence::Missing) {
        return true;
    }
    const std::vector<std::string> names = fileSystem.namesIn(folderOf(local));
    return std::find(names.begin(), names.end(), nameOf(local)) != names.end();
}

Failure cannotKeep(const LookedAt& target, const LocalPath& bak, const std::string& why) {
    return Failure(FailureKind::WriteError, "cannot keep the old " + target.path.quoted() + " as " +
                                                bak.quoted() + ": " + why);
}

}  // namespace

LocalPath bakPathOf(const LocalPath& target) {
    return {target.typed + ".bak", target.local + ".bak", target.windowsName};
}

void refuseBakFile(FileSystem& fileSystem, const LookedAt& target,
                   std::span<const LookedAt> others) {
    if (!target.file) {
        return;
    }
    const LookedAt bak = lookAt(fileSystem, bakPathOf(target.path));
    for (const LookedAt& other : others) {
        if (nameOneFile(bak, other)) {
            throw cannotKeep(
                target, bak.path,
                "it is " + other.path.quoted() + ", which this run reads or writes too");
        }
    }
    if (!entryThere(fileSystem, bak.path.local)) {
        return;
    }
    if (const auto why = fileSystem.whyNotMadeByARun(bak.path.local, target.path.local)) {
        throw cannotKeep(target, bak.path,
                         *why + ", and --backup replaces only a regular file of yours");
    }
}

}  // namespace quorrel
