#pragma once

#include <cstdint>
#include <limits>
#include <string_view>

namespace quorrel {

// The overflow failure of addOrOverflow: `value`, named `what`, is out of range.
[[noreturn]] void throwOutOfRange(std::int32_t value, std::string_view what);

// value + delta in signed 32-bit arithmetic; an overflow failure naming `what` when the sum does
// not fit. Inline, as the load adds twice for every record.
inline std::int32_t addOrOverflow(std::int32_t value, std::int32_t delta, std::string_view what) {
    const std::int64_t sum = std::int64_t{value} + delta;
    if (sum > std::numeric_limits<std::int32_t>::max() ||
        sum < std::numeric_limits<std::int32_t>::min()) {
        throwOutOfRange(value, what);
    }
    return static_cast<std::int32_t>(sum);
}

}  // namespace quorrel
