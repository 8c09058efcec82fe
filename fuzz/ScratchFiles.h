#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "TempDir.h"

namespace quorrel::fuzz {

// The two skill files of the input being run, made once per process. Each is an in-memory file
// (memfd) refilled for every input and named by its /proc/self/fd path, so the load action opens
// it through the real open() as it opens a user's file, without a disk write per input. A path
// that names no file lies in a private empty directory.
class ScratchFiles {
  public:
    ScratchFiles();
    ScratchFiles(const ScratchFiles&) = delete;
    ScratchFiles& operator=(const ScratchFiles&) = delete;
    ~ScratchFiles();

    // Makes the index or data file hold exactly `bytes` and returns its path.
    std::string indexFile(std::span<const std::uint8_t> bytes) const { return fill(index_, bytes); }
    std::string dataFile(std::span<const std::uint8_t> bytes) const { return fill(data_, bytes); }

    // A path that names no file.
    std::string missingFile() const { return (emptyDirectory_.path() / "skills.missing").string(); }

  private:
    static std::string fill(int descriptor, std::span<const std::uint8_t> bytes);

    testing::TempDir emptyDirectory_;  // made first, so a failure to make it leaks no descriptor
    int index_;
    int data_;
};

}  // namespace quorrel::fuzz
