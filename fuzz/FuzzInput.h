#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quorrel::fuzz {

// A fault injected into a load: which kind, and at which read or allocation.
enum class FuzzFault : std::uint8_t { None, FailingRead, CuttingRead, FailingAllocation };

// How one fuzzer input becomes a pair of skill files and a fault. The input starts with a
// five-byte header: the index file's size (little-endian 16 bits, cut to what follows), a byte of
// options, the fault's kind and where it strikes; the index file's bytes come next and the data
// file's bytes after them.
struct FuzzInput {
    static constexpr std::size_t kHeaderSize = 5;

    std::span<const std::uint8_t> index;
    std::span<const std::uint8_t> data;
    bool indexMissing = false;  // the index path names no file
    bool dataMissing = false;   // the data path names no file
    bool dataIsIndex = false;   // both paths name the index file
    bool runTwice = false;      // the same host loads the files a second time
    FuzzFault fault = FuzzFault::None;
    std::uint8_t faultAt = 0;  // the fault's read or allocation, counted from 0

    // Splits an input; none when it is shorter than the header.
    static std::optional<FuzzInput> split(std::span<const std::uint8_t> input);

    // The input that splits into these files and options: the inverse of split().
    std::vector<std::uint8_t> encode() const;
};

}  // namespace quorrel::fuzz
