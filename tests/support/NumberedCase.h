#pragma once

#include <gtest/gtest.h>

#include <string>

namespace quorrel::testing {

// Names the cases of a value-parameterized test Case0, Case1, ... where the values have no
// printer of their own, so that test names stay readable and the same from run to run instead of
// showing the values' bytes.
struct NumberedCase {
    template <typename Value>
    std::string operator()(const ::testing::TestParamInfo<Value>& param) const {
        return "Case" + std::to_string(param.index);
    }
};

}  // namespace quorrel::testing
