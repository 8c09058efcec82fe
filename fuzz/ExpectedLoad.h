#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "runtime/base/Failure.h"
#include "skills/SkillRow.h"

namespace quorrel::fuzz {

// What a load of a pair of skill files must give, worked out straight from their bytes without
// the run-time layer: the items in order and, when the load must fail, the kind of failure and the
// 0-based index record it fails at. Kept apart from the load action so that the two can disagree.
struct ExpectedLoad {
    std::vector<SkillRow> items;
    std::optional<FailureKind> failure;
    std::optional<std::uint64_t> failingRecord;  // none when the index file itself is refused

    // `data` is empty and `dataExists` false when the data path names no file.
    static ExpectedLoad of(std::span<const std::uint8_t> index, std::span<const std::uint8_t> data,
                           bool dataExists);

    // The load of an index path that names no file.
    static ExpectedLoad indexRefused();
};

}  // namespace quorrel::fuzz
