#include "PathResolver.h"

namespace quorrel {

void PathResolver::resolve(const std::string& typed, LocalPath& into) {
    into.typed.assign(typed);
    into.local.assign(typed);
    into.windowsName = true;
}

LocalPath PathResolver::resolveForWriting(const std::string& typed) {
    return resolve(typed);
}

}  // namespace quorrel
