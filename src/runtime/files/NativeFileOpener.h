#pragma once

#include "FileOpener.h"
#include "runtime/paths/PathResolver.h"

namespace quorrel {

// Opens the system's own files: read-only, shared with other programs, never created. Paths go
// through a PathResolver, which off Windows leads drive-letter paths into the Wine prefix and
// keeps the folder listings that matching their names ignoring case needs between opens, while
// the folders stay unchanged.
class NativeFileOpener final : public FileOpener {
  public:
    std::unique_ptr<ReadableFile> openForReading(const std::string& path) override;

  private:
    PathResolver resolver_;
};

}  // namespace quorrel
