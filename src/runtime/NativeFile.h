#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quorrel {

// An operating-system file opened for reading only, shared with other programs and never created.
// Owns its handle and closes it when destroyed.
class NativeFile {
  public:
    // Opens an existing file. Throws an open-refused failure naming the path and the system's
    // reason when it cannot.
    static NativeFile openForReading(const std::string& path);

    NativeFile(NativeFile&& other) noexcept;
    NativeFile& operator=(NativeFile&& other) noexcept;
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;
    ~NativeFile();

    // Reads into `into` from byte `offset`, as much as the file holds; returns the number of bytes
    // read, which is short only at the end of the file. Throws an open-refused failure when the
    // system cannot read the file at all (a directory, a device error).
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> into) const;

    // The file's size in bytes.
    std::uint64_t size() const;

  private:
#ifdef _WIN32
    using Handle = void*;
#else
    using Handle = int;
#endif
    NativeFile(Handle handle, std::string path);
    void release() noexcept;

    Handle handle_;
    std::string path_;
};

}  // namespace quorrel
