#pragma once

#include <cstdint>
#include <string_view>

namespace quorrel {

// value + delta in signed 32-bit arithmetic; an overflow failure naming `what` when the sum does
// not fit.
std::int32_t addOrOverflow(std::int32_t value, std::int32_t delta, std::string_view what);

}  // namespace quorrel
