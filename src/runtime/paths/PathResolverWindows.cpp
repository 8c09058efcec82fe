#include "PathResolver.h"

namespace quorrel {

LocalPath PathResolver::resolve(const std::string& typed) {
    return {typed, typed, true};
}

LocalPath PathResolver::resolveForWriting(const std::string& typed) {
    LocalPath path = resolve(typed);
    path.local = fileSystem_.pathBehindLinks(path);
    return path;
}

}  // namespace quorrel
