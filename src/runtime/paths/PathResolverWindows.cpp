#include "PathResolver.h"

namespace quorrel {

LocalPath PathResolver::resolve(const std::string& typed) {
    return {typed, typed, true};
}

LocalPath PathResolver::resolveForWriting(const std::string& typed) {
    return resolve(typed);
}

}  // namespace quorrel
