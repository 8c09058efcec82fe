#pragma once

#include <cstdint>
#include <span>

namespace quorrel {

// A file open for writing, as FileSystem::createNew hands it out; closed when destroyed.
class WritableFile {
  public:
    virtual ~WritableFile() = default;

    // Appends all of `bytes`. Throws a write-error failure naming the file and the system's
    // reason when the system takes fewer.
    virtual void write(std::span<const std::uint8_t> bytes) = 0;

    // Returns only once what was written is on the disk itself, not just in the system's cache
    // (fsync, FlushFileBuffers), so that a file renamed into place afterwards is whole even
    // after a power cut. Throws a write-error failure when the system cannot.
    virtual void flush() = 0;
};

}  // namespace quorrel
