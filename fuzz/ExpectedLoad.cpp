#include "ExpectedLoad.h"

#include <algorithm>
#include <limits>

#include "runtime/text/Text8Bit.h"

namespace quorrel::fuzz {
namespace {

constexpr std::size_t kRecordSize = 12;

std::int32_t int32At(std::span<const std::uint8_t> bytes, std::size_t at) {
    const std::uint32_t value = std::uint32_t{bytes[at]} | (std::uint32_t{bytes[at + 1]} << 8) |
                                (std::uint32_t{bytes[at + 2]} << 16) |
                                (std::uint32_t{bytes[at + 3]} << 24);
    return static_cast<std::int32_t>(value);
}

// The kind a used record fails with, checked in the order the load action meets the conditions.
// A flag byte at or past the end of the data file is no record of it.
std::optional<FailureKind> failureOf(std::int32_t offset, std::int32_t length, bool dataExists,
                                     std::size_t dataSize) {
    if (!dataExists) {
        return FailureKind::OpenRefused;
    }
    if (offset == std::numeric_limits<std::int32_t>::max()) {
        return FailureKind::Overflow;
    }
    if (offset < -1 || static_cast<std::uint64_t>(offset) >= dataSize) {
        return FailureKind::BadReadPosition;
    }
    if (length == std::numeric_limits<std::int32_t>::min()) {
        return FailureKind::Overflow;
    }
    if (length < 0) {
        return FailureKind::BufferBounds;
    }
    return std::nullopt;
}

// The item of used record `record`: the flag byte at `offset`, which lies inside the data file,
// and `length` name bytes after it, of which only those before the first zero byte count. Bytes
// past the end of the file are zero, so the name ends there at the latest.
SkillRow itemOf(std::uint64_t record, std::span<const std::uint8_t> data, std::int32_t offset,
                std::int32_t length) {
    const auto flagAt = static_cast<std::uint64_t>(offset);
    const std::uint8_t flag = data[flagAt];
    const std::uint64_t nameStart = std::min<std::uint64_t>(flagAt + 1, data.size());
    const std::uint64_t nameEnd =
        std::min<std::uint64_t>(flagAt + 1 + static_cast<std::uint64_t>(length), data.size());
    const auto name = data.subspan(nameStart, nameEnd - nameStart);
    const auto zero = std::find(name.begin(), name.end(), std::uint8_t{0});
    const auto text = name.first(static_cast<std::size_t>(zero - name.begin()));
    return SkillRow{record, textFrom8Bit(text), flag != 0, flag};
}

}  // namespace

ExpectedLoad ExpectedLoad::of(std::span<const std::uint8_t> index,
                              std::span<const std::uint8_t> data, bool dataExists) {
    ExpectedLoad expected;
    for (std::size_t record = 0; (record + 1) * kRecordSize <= index.size(); ++record) {
        const std::int32_t offset = int32At(index, record * kRecordSize);
        const std::int32_t length = int32At(index, record * kRecordSize + 4);
        if (offset == -1 || length == 0) {
            continue;
        }
        expected.failure = failureOf(offset, length, dataExists, data.size());
        if (expected.failure) {
            expected.failingRecord = record;
            return expected;
        }
        expected.items.push_back(itemOf(record, data, offset, length));
    }
    return expected;
}

ExpectedLoad ExpectedLoad::indexRefused() {
    ExpectedLoad expected;
    expected.failure = FailureKind::OpenRefused;
    return expected;
}

}  // namespace quorrel::fuzz
