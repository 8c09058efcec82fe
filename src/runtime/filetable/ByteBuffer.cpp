#include "ByteBuffer.h"

#include <algorithm>
#include <string>

#include "runtime/base/Failure.h"
#include "runtime/base/OutOfMemory.h"

namespace quorrel {
namespace {

// The largest buffer whose memory serves again: a large one is let go, not kept for small ones.
constexpr std::size_t kReusedCapacity = 64 * 1024;

}  // namespace

void ByteBuffer::redim(std::int32_t lower, std::int32_t upper, std::size_t backed) {
    if (upper < lower) {
        throw Failure(FailureKind::BufferBounds, "a buffer cannot run from " +
                                                     std::to_string(lower) + " down to " +
                                                     std::to_string(upper));
    }
    const auto elements = static_cast<std::uint64_t>(std::int64_t{upper} - lower + 1);
    const auto held = static_cast<std::size_t>(std::min<std::uint64_t>(elements, backed));
    // A small buffer is made in the memory of the one before when that is large enough, as the
    // load redims the name buffer for every record.
    if (held <= bytes_.capacity() && bytes_.capacity() <= kReusedCapacity) {
        bytes_.assign(held, 0);
        lower_ = lower;
        upper_ = upper;
        return;
    }
    // Otherwise the old buffer goes first, so a large one is never held beside its replacement.
    std::vector<std::uint8_t>().swap(bytes_);
    lower_ = 0;
    upper_ = -1;
    std::vector<std::uint8_t> fresh;
    failingWhenMemoryRunsOut(
        [&] { fresh.resize(held); },
        [&] { return "cannot make a buffer of " + std::to_string(held) + " bytes"; });
    bytes_.swap(fresh);
    lower_ = lower;
    upper_ = upper;
}

}  // namespace quorrel
