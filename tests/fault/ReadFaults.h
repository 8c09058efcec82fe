#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "runtime/files/FileOpener.h"

namespace quorrel::fault {

// What goes wrong with the reads of the files a FaultyFileOpener opens. Reads are counted from 1
// across all of those files, in the order they are made.
struct ReadFaults {
    std::size_t failingRead = 0;   // this read fails as an I/O error would; 0 for none
    std::size_t cuttingRead = 0;   // before this read, the file it reads is cut to cutToBytes,
    std::uint64_t cutToBytes = 0;  // for it and every later read of that open file; 0 for none
    std::size_t readsMade = 0;     // counted as they are made
};

// Opens the system's own files, whose reads then go wrong as `faults` says. The counts in
// `faults` go on while any of the files is open.
class FaultyFileOpener final : public FileOpener {
  public:
    explicit FaultyFileOpener(std::shared_ptr<ReadFaults> faults);
    ~FaultyFileOpener() override;

    std::unique_ptr<ReadableFile> openForReading(const std::string& path) override;

  private:
    std::unique_ptr<FileOpener> native_;
    std::shared_ptr<ReadFaults> faults_;
};

}  // namespace quorrel::fault
