#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "ReadableFile.h"

#ifndef _WIN32
#include "WindowsPath.h"
#endif

namespace quorrel {

// An operating-system file opened for reading only, shared with other programs and never created.
// Owns its handle and closes it when destroyed.
class NativeFile final : public ReadableFile {
  public:
    // Opens an existing regular file. Throws an open-refused failure naming the path and the
    // system's reason when it cannot, and one saying what the path is instead when it names a
    // folder, a device, a pipe or a socket: those have no fixed bytes to read records from.
#ifdef _WIN32
    static std::unique_ptr<NativeFile> openForReading(const std::string& path);
#else
    static std::unique_ptr<NativeFile> openForReading(const LocalPath& file);
#endif

#ifdef _WIN32
    using Handle = void*;
#else
    using Handle = int;
#endif
    // Takes over an open handle; `name` is the file as messages quote it.
    NativeFile(Handle handle, std::string name);

    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;
    ~NativeFile() override;

    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> into) override;

  private:
    Handle handle_;
    std::string name_;
};

}  // namespace quorrel
