#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "NativeFile.h"

namespace quorrel {

// A file open in binary mode: a 1-based read position, reads at a given position that move it,
// and end-of-file. Small reads are served from a read-ahead window, so reading a file a few bytes
// at a time costs few system calls.
class BinaryFile {
  public:
    BinaryFile(NativeFile file, std::string path);

    const std::string& path() const noexcept { return path_; }

    // The 1-based position of the next byte a read would take.
    std::int64_t position() const noexcept { return position_; }

    // The file's size in bytes, taken from the system once and then remembered.
    std::uint64_t size();

    // Whether the position lies past the last byte.
    bool endOfFile() { return static_cast<std::uint64_t>(position_ - 1) >= size(); }

    // Fills `into` from 1-based `position` and moves the position past it. Bytes past the end of
    // the file read as 0. Throws a bad-read-position failure when position < 1.
    void read(std::int64_t position, std::span<std::uint8_t> into);

    // Moves the position on by `bytes` without reading them.
    void skip(std::int64_t bytes) noexcept { position_ += bytes; }

  private:
    std::size_t readThroughWindow(std::uint64_t offset, std::span<std::uint8_t> into);

    NativeFile file_;
    std::string path_;
    std::int64_t position_ = 1;
    std::optional<std::uint64_t> size_;
    std::vector<std::uint8_t> window_;
    std::uint64_t windowOffset_ = 0;
    std::size_t windowFill_ = 0;
};

}  // namespace quorrel
