#include "PathResolver.h"
#include "WinePathResolver.h"

namespace quorrel {

PathResolver::PathResolver() = default;

PathResolver::~PathResolver() = default;

LocalPath PathResolver::resolve(const std::string& typed) {
    return {typed, typed};
}

LocalPath PathResolver::resolveForWriting(const std::string& typed) {
    return {typed, typed};
}

}  // namespace quorrel
