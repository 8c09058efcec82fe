#include "FuzzInput.h"

#include <algorithm>
#include <stdexcept>

namespace quorrel::fuzz {
namespace {

constexpr std::uint8_t kIndexMissing = 1;
constexpr std::uint8_t kDataMissing = 2;
constexpr std::uint8_t kDataIsIndex = 4;
constexpr std::uint8_t kRunTwice = 8;

}  // namespace

std::optional<FuzzInput> FuzzInput::split(std::span<const std::uint8_t> input) {
    if (input.size() < kHeaderSize) {
        return std::nullopt;
    }
    const std::size_t declared = std::size_t{input[0]} | (std::size_t{input[1]} << 8);
    const std::uint8_t options = input[2];
    const auto files = input.subspan(kHeaderSize);
    const std::size_t indexSize = std::min(declared, files.size());

    FuzzInput split;
    split.index = files.first(indexSize);
    split.data = files.subspan(indexSize);
    split.indexMissing = (options & kIndexMissing) != 0;
    split.dataMissing = (options & kDataMissing) != 0;
    split.dataIsIndex = (options & kDataIsIndex) != 0;
    split.runTwice = (options & kRunTwice) != 0;
    split.fault = static_cast<FuzzFault>(input[3] % 4);
    split.faultAt = input[4];
    return split;
}

std::vector<std::uint8_t> FuzzInput::encode() const {
    if (index.size() > 0xFFFF) {
        throw std::length_error("an index file of a fuzzer input holds at most 65535 bytes");
    }
    const auto options = static_cast<std::uint8_t>(
        (indexMissing ? kIndexMissing : 0) | (dataMissing ? kDataMissing : 0) |
        (dataIsIndex ? kDataIsIndex : 0) | (runTwice ? kRunTwice : 0));
    std::vector<std::uint8_t> input{static_cast<std::uint8_t>(index.size() & 0xFF),
                                    static_cast<std::uint8_t>(index.size() >> 8), options,
                                    static_cast<std::uint8_t>(fault), faultAt};
    input.insert(input.end(), index.begin(), index.end());
    input.insert(input.end(), data.begin(), data.end());
    return input;
}

}  // namespace quorrel::fuzz
