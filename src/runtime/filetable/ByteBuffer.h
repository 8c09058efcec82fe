#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace quorrel {

// A zero-filled byte buffer with inclusive bounds lowerBound()..upperBound(). Only the first
// stored().size() elements are held in memory; every element past them is zero. That lets a buffer
// stand for a range of a file that runs past the file's end, or past the point where its contents
// stop mattering, without allocating the rest.
class ByteBuffer {
  public:
    static constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

    // An empty buffer: bounds 0 and -1, no elements.
    ByteBuffer() = default;

    // Drops the old contents and makes a new zero-filled buffer with the given bounds, holding at
    // most `backed` elements in memory. Throws a buffer-bounds failure when upper < lower, and an
    // out-of-memory failure when the held part cannot be allocated.
    void redim(std::int32_t lower, std::int32_t upper, std::size_t backed = kUnlimited);

    std::int32_t lowerBound() const noexcept { return lower_; }
    std::int32_t upperBound() const noexcept { return upper_; }
    std::int64_t count() const noexcept { return std::int64_t{upper_} - lower_ + 1; }

    // The elements held in memory, starting at lowerBound().
    std::span<std::uint8_t> stored() noexcept { return bytes_; }
    std::span<const std::uint8_t> stored() const noexcept { return bytes_; }

  private:
    std::int32_t lower_ = 0;
    std::int32_t upper_ = -1;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace quorrel
