#include "TableSwap.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "SkillFileLayout.h"

namespace quorrel {
namespace {

// A load reads a record's flag at its offset and its name from the next byte up to the first
// zero, and reads zeros past the end of a file: a record whose name runs past the data file's end
// stops at the zero just past it. A record whose flag lies at or past the end fails the load there,
// which no longer data file can repeat. Records with a negative offset read nothing: they fail
// before any read.
bool flagFailsPastTheEnd(const IndexRecord& place, std::uint64_t dataSize) {
    return !isEmptySlot(place.offset, place.length) && place.offset >= 0 &&
           static_cast<std::uint64_t>(place.offset) >= dataSize;
}

}  // namespace

bool everyFlagWithin(std::span<const std::uint8_t> index, std::uint64_t dataSize) {
    for (std::size_t record = 0; record < index.size() / kIndexRecordSize; ++record) {
        if (flagFailsPastTheEnd(indexRecordAt(index, record), dataSize)) {
            return false;
        }
    }
    return true;
}

TableSwap::TableSwap(const LaidOutTable& fresh, OldFile oldData, const OldFile& oldIndex) {
    // Past the end of each data file lies at least one zero, where a name that runs past it stops.
    if (oldData.bytes && oldIndex.bytes &&
        everyFlagWithin(*oldIndex.bytes, oldData.bytes->size()) &&
        fresh.index.size() <= kLargestPaddedFile) {
        const std::uint64_t start =
            std::max<std::uint64_t>(oldData.bytes->size(), fresh.data.size()) + 1;
        if (start + fresh.data.size() <= kLargestPaddedFile) {
            oldData_ = std::move(*oldData.bytes);
            padThrough(fresh, start);
            return;
        }
    }
    // Moved into place, not copied: an index of many runs is many pieces.
    FileVersion first{kData, {fresh.data}};
    FileVersion second{kIndex, fresh.index.pieces()};
    if (!oldData.exists && oldIndex.exists) {
        std::swap(first, second);
    }
    versions_.push_back(std::move(first));
    versions_.push_back(std::move(second));
}

void TableSwap::padThrough(const LaidOutTable& fresh, std::uint64_t start) {
    const std::span<const std::uint8_t> oldData(oldData_);
    zeros_.resize(start - std::min<std::uint64_t>(oldData.size(), fresh.data.size()));
    shiftedIndex_ = fresh.index.shifted(start);
    const std::span<const std::uint8_t> zeros(zeros_);
    versions_.push_back({kData, {oldData, zeros.first(start - oldData.size()), fresh.data}});
    versions_.push_back({kIndex, shiftedIndex_.pieces()});
    versions_.push_back({kData, {fresh.data, zeros.first(start - fresh.data.size()), fresh.data}});
    versions_.push_back({kIndex, fresh.index.pieces()});
    versions_.push_back({kData, {fresh.data}});
}

}  // namespace quorrel
