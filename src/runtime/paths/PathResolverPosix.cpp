#include "PathResolver.h"
#include "WinePathResolver.h"

namespace quorrel {

PathResolver::PathResolver() : wine_(std::make_unique<WinePathResolver>()) {}

PathResolver::~PathResolver() = default;

LocalPath PathResolver::resolve(const std::string& typed) {
    return wine_->resolve(typed);
}

LocalPath PathResolver::resolveForWriting(const std::string& typed) {
    return wine_->resolveForWriting(typed);
}

}  // namespace quorrel
