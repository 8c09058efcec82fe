#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

#include "FileSystemWrapper.h"

namespace quorrel::fault {

// What goes wrong with the reads of the files a FaultyReads file system opens. Reads are counted
// from 1 across all of those files, in the order they are made.
struct ReadFaults {
    std::size_t failingRead = 0;   // this read fails as an I/O error would; 0 for none
    std::size_t cuttingRead = 0;   // before this read, the file it reads is cut to cutToBytes,
    std::uint64_t cutToBytes = 0;  // for it and every later read of that open file; 0 for none
    std::size_t readsMade = 0;     // counted as they are made
};

// A file system whose files, opened through `target`, then read wrong as `faults` says; every
// other call passes on. The counts in `faults` go on while any of the files is open.
class FaultyReads final : public FileSystemWrapper {
  public:
    explicit FaultyReads(std::shared_ptr<ReadFaults> faults,
                         FileSystem& target = FileSystem::native())
        : FileSystemWrapper(target), faults_(std::move(faults)) {}

    std::unique_ptr<ReadableFile> openForReading(const LocalPath& file) override;

  private:
    std::shared_ptr<ReadFaults> faults_;
};

}  // namespace quorrel::fault
