#pragma once

#include <cstdint>

namespace quorrel::bench {

// The process's peak resident memory so far (VmHWM), in bytes.
std::int64_t peakResidentBytes();

}  // namespace quorrel::bench
