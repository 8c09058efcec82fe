#pragma once

#include <memory>
#include <string>

#include "ReadableFile.h"

namespace quorrel {

// Opens files for the file table. The system's own files come from NativeFileOpener; tests and the
// fuzzer hand the table one that can be told to fail.
class FileOpener {
  public:
    virtual ~FileOpener() = default;

    // Opens the existing regular file at `path` for reading only. Throws an open-refused failure
    // naming the path and the reason when it cannot, or when the path names a folder, a device or
    // anything else that is not a regular file.
    virtual std::unique_ptr<ReadableFile> openForReading(const std::string& path) = 0;
};

}  // namespace quorrel
