#include "PathResolver.h"

namespace quorrel {

void PathResolver::resolve(const std::string& typed, LocalPath& into) {
    if (into.asTyped && into.typed == typed) {
        return;
    }
    into.typed.assign(typed);
    into.local.assign(typed);
    into.windowsName = true;
    into.asTyped = true;
}

LocalPath PathResolver::resolveForWriting(const std::string& typed) {
    return resolve(typed);
}

}  // namespace quorrel
