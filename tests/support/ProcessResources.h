#pragma once

#include <cstddef>
#include <cstdint>

namespace quorrel::testing {

// Whether this system shows the process's descriptors and memory figures (Linux's /proc). Where
// it does not, the tests still run their loads and check what they give, but not those figures.
constexpr bool processFiguresKnown() {
#ifdef __linux__
    return true;
#else
    return false;
#endif
}

// The number of file descriptors this process has open, counted in /proc/self/fd; 0 where
// processFiguresKnown() is false.
std::size_t openDescriptorCount();

// Whether the build runs under AddressSanitizer, whose shadow memory and quarantine make the
// process's memory figures say nothing about the code under test.
constexpr bool underAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

// How far the process's peak resident memory rises above where it stood when the object was made.
// The peak is reset at the start (Linux's clear_refs), so earlier work in the process does not hide
// the rise. Always 0 where processFiguresKnown() is false.
class PeakMemoryGrowth {
  public:
    PeakMemoryGrowth();

    std::int64_t bytes() const;

  private:
    std::int64_t startResident_;
};

}  // namespace quorrel::testing
