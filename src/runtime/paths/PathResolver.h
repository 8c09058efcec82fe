#pragma once

#include <memory>
#include <string>

#include "runtime/files/LocalPath.h"

namespace quorrel {

class WinePathResolver;

// Finds the file this system opens for a path as the user typed it. On Windows every path is the
// system's own and is used as typed. Elsewhere a path with a drive letter leads into the Wine
// prefix, as WinePathResolver finds it, keeping what it learnt of folders from one path to the
// next; other paths are used as typed.
class PathResolver {
  public:
    PathResolver();
    PathResolver(const PathResolver&) = delete;
    PathResolver& operator=(const PathResolver&) = delete;
    ~PathResolver();

    // The file to read for `typed`. Throws an open-refused failure when the path cannot lead to
    // one.
    LocalPath resolve(const std::string& typed);

    // The file to write for `typed`: the one resolve() gives when it exists; for a new one, its
    // folder resolved and its name kept as typed.
    LocalPath resolveForWriting(const std::string& typed);

  private:
    std::unique_ptr<WinePathResolver> wine_;  // none on Windows
};

}  // namespace quorrel
