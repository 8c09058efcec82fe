#pragma once

#include "FileOpener.h"

#ifndef _WIN32
#include "WindowsPath.h"
#endif

namespace quorrel {

// Opens the system's own files: read-only, shared with other programs, never created. Off
// Windows, drive-letter paths lead into the Wine prefix, and the folder listings that matching
// their names ignoring case needs are kept between opens while the folders stay unchanged.
class NativeFileOpener final : public FileOpener {
  public:
    std::unique_ptr<ReadableFile> openForReading(const std::string& path) override;

  private:
#ifndef _WIN32
    WinePathResolver resolver_;
#endif
};

}  // namespace quorrel
