#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "runtime/files/LocalPath.h"
#include "runtime/files/ReadableFile.h"

namespace quorrel {

// A file open in binary mode: a 1-based read position, reads at a given position that move it,
// and end-of-file. Small reads are served from a read-ahead window, so reading a file a few bytes
// at a time costs few system calls.
//
// The file may change while it is open. Every read is served by one read of the system's at the
// moment it is needed, or from a window that one such read filled, and the end of the file is
// wherever a read last came up short: nothing is decided by a size taken earlier.
//
// One object serves file after file: closing it lets the file go but keeps its memory (the path's
// and the window's), so that a run opening the data file for every record allocates nothing for it.
class BinaryFile {
  public:
    BinaryFile() = default;

    // Where the path of the next file to open goes, while no file is open: written over, so that
    // its memory serves again, and left as it is where it already names that file
    // (PathResolver::resolve).
    LocalPath& nextPath() noexcept { return path_; }

    // Takes `file`, the file of nextPath(), in the place of any file this one had, positioned at 1.
    void open(std::unique_ptr<ReadableFile> file);

    // Closes the file; nothing is read until the next open. The file's object is kept where it
    // can serve again (ReadableFile::closeForReuse), for takeClosedFile.
    void close() noexcept {
        if (file_ && !file_->closeForReuse()) {
            file_.reset();
        }
        open_ = false;
    }

    bool isOpen() const noexcept { return open_; }

    // The object of the file closed last, for FileSystem::reopenForReading; none while a file is
    // open or when none was kept.
    std::unique_ptr<ReadableFile> takeClosedFile() noexcept {
        return open_ ? nullptr : std::move(file_);
    }

    // The path of the file as it was typed.
    const std::string& path() const noexcept { return path_.typed; }

    // The 1-based position of the next byte a read would take.
    std::int64_t position() const noexcept { return position_; }

    // Whether the last read reached past the end of the file.
    bool endOfFile() const noexcept { return endReached_; }

    // Fills `into` from 1-based `position` and moves the position past it; returns how many bytes
    // came from the file. The bytes past the end of the file read as 0. Throws a bad-read-position
    // failure when position < 1, and a read-error failure when the system cannot read the file.
    std::size_t read(std::int64_t position, std::span<std::uint8_t> into) {
        // A read the window holds in full, such as a record's name after its flag, is served
        // here; every other goes through readFromFile.
        const auto offset = static_cast<std::uint64_t>(position - 1);
        if (position >= 1 && offset >= windowOffset_ && offset - windowOffset_ <= windowFill_ &&
            into.size() <= windowFill_ - (offset - windowOffset_)) {
            std::copy_n(window_.begin() + static_cast<std::ptrdiff_t>(offset - windowOffset_),
                        into.size(), into.begin());
            position_ = position + static_cast<std::int64_t>(into.size());
            endReached_ = false;
            return into.size();
        }
        return readFromFile(position, into);
    }

    // Moves the position on by `bytes` without reading them.
    void skip(std::int64_t bytes) noexcept { position_ += bytes; }

  private:
    std::size_t readFromFile(std::int64_t position, std::span<std::uint8_t> into);
    std::size_t readThroughWindow(std::uint64_t offset, std::span<std::uint8_t> into);

    std::unique_ptr<ReadableFile> file_;
    bool open_ = false;
    LocalPath path_;
    std::int64_t position_ = 1;
    bool endReached_ = false;
    std::vector<std::uint8_t> window_;
    bool windowUsed_ = false;  // whether a read of the file open filled the window
    std::uint64_t windowOffset_ = 0;
    std::size_t windowFill_ = 0;
};

}  // namespace quorrel
