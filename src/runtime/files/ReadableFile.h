#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quorrel {

// A file open for reading: the one operation the rest of the run-time layer reads through, so
// that a test can put a file that fails or comes up short in the place of a real one.
class ReadableFile {
  public:
    virtual ~ReadableFile() = default;

    // Reads into `into` from byte `offset`, as much as the file holds at that moment, and returns
    // the number of bytes read; fewer than asked only where the file ends. Throws a read-error
    // failure naming the file and the system's reason when the system cannot read it.
    virtual std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> into) = 0;

    // Closes the file at once and keeps the object for FileSystem::reopenForReading, which may
    // open another file in it, so that a run opening file after file allocates nothing for them.
    // False, closing nothing, where the object cannot serve again: then it must simply go.
    virtual bool closeForReuse() noexcept { return false; }
};

}  // namespace quorrel
