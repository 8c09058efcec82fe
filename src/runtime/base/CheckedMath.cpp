#include "CheckedMath.h"

#include <string>

#include "Failure.h"

namespace quorrel {

void throwOutOfRange(std::int32_t value, std::string_view what) {
    throw Failure(FailureKind::Overflow,
                  std::string(what) + " " + std::to_string(value) + " is out of range");
}

}  // namespace quorrel
