#include "CheckedMath.h"

#include <limits>
#include <string>

#include "Failure.h"

namespace quorrel {

std::int32_t addOrOverflow(std::int32_t value, std::int32_t delta, std::string_view what) {
    const std::int64_t sum = std::int64_t{value} + delta;
    if (sum > std::numeric_limits<std::int32_t>::max() ||
        sum < std::numeric_limits<std::int32_t>::min()) {
        throw Failure(FailureKind::Overflow,
                      std::string(what) + " " + std::to_string(value) + " is out of range");
    }
    return static_cast<std::int32_t>(sum);
}

}  // namespace quorrel
