#include "BinaryFile.h"

#include <algorithm>
#include <string>
#include <utility>

#include "runtime/base/Failure.h"

namespace quorrel {
namespace {

// The first window is small, as a data file is opened for one short record; a file read on and on,
// like an index, doubles its window up to the largest size.
constexpr std::size_t kFirstWindow = 256;
constexpr std::size_t kLargestWindow = 64 * 1024;

}  // namespace

void BinaryFile::open(std::unique_ptr<ReadableFile> file) {
    file_ = std::move(file);
    open_ = true;
    position_ = 1;
    endReached_ = false;
    // The next file starts with a small window again, in the same memory and without zeroing it
    // first (a shrinking resize fills nothing): a read fills what it uses.
    if (window_.size() > kFirstWindow) {
        window_.resize(kFirstWindow);
    }
    windowUsed_ = false;
    windowOffset_ = 0;
    windowFill_ = 0;
}

std::size_t BinaryFile::readFromFile(std::int64_t position, std::span<std::uint8_t> into) {
    if (position < 1) {
        throw Failure(FailureKind::BadReadPosition,
                      "cannot read \"" + path_.typed + "\" at position " +
                          std::to_string(position) + ": positions start at 1");
    }
    const auto offset = static_cast<std::uint64_t>(position - 1);
    const std::size_t got = into.size() < kLargestWindow ? readThroughWindow(offset, into)
                                                         : file_->readAt(offset, into);
    if (got < into.size()) {
        std::fill(into.begin() + static_cast<std::ptrdiff_t>(got), into.end(), std::uint8_t{0});
    }
    position_ = position + static_cast<std::int64_t>(into.size());
    endReached_ = got < into.size();
    return got;
}

// A read the window does not cover in full fills it anew from the read's own offset, so what a
// read returns always comes from a single read of the file.
std::size_t BinaryFile::readThroughWindow(std::uint64_t offset, std::span<std::uint8_t> into) {
    const bool inWindow =
        offset >= windowOffset_ && offset + into.size() <= windowOffset_ + windowFill_;
    if (!inWindow) {
        const bool readingOn = windowUsed_ && offset == windowOffset_ + windowFill_;
        const std::size_t size = !windowUsed_ ? kFirstWindow
                                 : readingOn  ? std::min(window_.size() * 2, kLargestWindow)
                                              : window_.size();
        window_.resize(std::max(size, into.size()));
        windowUsed_ = true;
        windowOffset_ = offset;
        windowFill_ = 0;
        windowFill_ = file_->readAt(offset, window_);
    }
    const std::uint64_t skip = offset - windowOffset_;
    const std::size_t available =
        skip >= windowFill_ ? 0
                            : std::min(into.size(), windowFill_ - static_cast<std::size_t>(skip));
    std::copy_n(window_.begin() + static_cast<std::ptrdiff_t>(skip), available, into.begin());
    return available;
}

}  // namespace quorrel
