#include "BakFiles.h"

#include "InterruptedRuns.h"
#include "runtime/base/Failure.h"

namespace quorrel {
namespace {

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
    // A link that leads nowhere is an entry too.
    if (fileSystem.entryStatusOf(bak.path.local).presence == FileStatus::Presence::Missing) {
        return;
    }
    if (const auto why = whyNotMadeByARun(fileSystem, bak.path.local, target.path.local)) {
        throw cannotKeep(target, bak.path,
                         *why + ", and --backup replaces only a regular file of yours");
    }
}

}  // namespace quorrel
