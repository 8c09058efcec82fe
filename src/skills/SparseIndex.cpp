#include "SparseIndex.h"

#include <span>

namespace quorrel {
namespace {

// Empty slots enough to write a long run of them in few writes, in 64 KiB less four bytes.
constexpr std::size_t kSlotsInBlock = 65536 / kIndexRecordSize;

std::span<const std::uint8_t> emptySlotBlock() {
    static const std::vector<std::uint8_t> block = [] {
        SkillFiles files;
        for (std::size_t slot = 0; slot < kSlotsInBlock; ++slot) {
            appendEmptySlot(files);
        }
        return files.index;
    }();
    return block;
}

}  // namespace

SparseIndex SparseIndex::ofFile(std::span<const std::uint8_t> bytes) {
    SparseIndex index;
    const std::size_t whole = bytes.size() / kIndexRecordSize;
    for (std::size_t record = 0; record < whole; ++record) {
        index.append(indexRecordAt(bytes, record));
    }
    const auto tail = bytes.subspan(whole * kIndexRecordSize);
    index.tail_.assign(tail.begin(), tail.end());
    return index;
}

void SparseIndex::append(const IndexRecord& record) {
    appendIndexRecord(used_, record);
    ++records_;
}

void SparseIndex::appendEmptySlots(std::uint64_t count) {
    if (!gaps_.empty() && gaps_.back().recordsEnd == used_.size()) {
        gaps_.back().emptySlots += count;
    } else if (count < kShortestCountedRun) {
        const IndexRecord slot{kEmptySlotOffset, kEmptySlotLength, 0};
        for (std::uint64_t written = 0; written < count; ++written) {
            appendIndexRecord(used_, slot);
        }
    } else {
        gaps_.push_back({used_.size(), count});
    }
    records_ += count;
}

SparseIndex SparseIndex::shifted(std::uint64_t shift) const {
    SparseIndex moved = *this;
    moved.used_.clear();
    for (std::size_t record = 0; record < used_.size() / kIndexRecordSize; ++record) {
        IndexRecord place = indexRecordAt(used_, record);
        // Short runs of empty slots are held among the records: they stay empty slots.
        if (!isEmptySlot(place.offset, place.length) && place.offset >= 0) {
            place.offset += static_cast<std::int32_t>(shift);
        }
        appendIndexRecord(moved.used_, place);
    }
    return moved;
}

std::vector<std::pair<std::uint64_t, IndexRecord>> SparseIndex::usedRecords() const {
    std::vector<std::pair<std::uint64_t, IndexRecord>> used;
    std::uint64_t record = 0;
    auto gap = gaps_.begin();
    for (std::size_t at = 0; at <= used_.size(); at += kIndexRecordSize) {
        for (; gap != gaps_.end() && gap->recordsEnd == at; ++gap) {
            record += gap->emptySlots;
        }
        if (at == used_.size()) {
            break;
        }
        const IndexRecord place = indexRecordAt(used_, at / kIndexRecordSize);
        if (!isEmptySlot(place.offset, place.length)) {
            used.emplace_back(record, place);
        }
        ++record;
    }
    return used;
}

FilePieces SparseIndex::pieces() const {
    FilePieces pieces;
    // At most three a run (the records before it, whole blocks, the rest), the records after and
    // the bytes after them.
    pieces.reserve(3 * gaps_.size() + 2);
    const std::span<const std::uint8_t> used(used_);
    const std::span<const std::uint8_t> block = emptySlotBlock();
    std::size_t from = 0;
    for (const Gap& gap : gaps_) {
        if (gap.recordsEnd > from) {
            pieces.emplace_back(used.subspan(from, gap.recordsEnd - from));
        }
        if (gap.emptySlots >= kSlotsInBlock) {
            pieces.emplace_back(block, gap.emptySlots / kSlotsInBlock);
        }
        if (gap.emptySlots % kSlotsInBlock != 0) {
            pieces.emplace_back(block.first(gap.emptySlots % kSlotsInBlock * kIndexRecordSize));
        }
        from = gap.recordsEnd;
    }
    if (used.size() > from) {
        pieces.emplace_back(used.subspan(from));
    }
    if (!tail_.empty()) {
        pieces.emplace_back(tail_);
    }
    return pieces;
}

std::vector<std::uint8_t> SparseIndex::bytes() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(size());
    for (const FilePiece& piece : pieces()) {
        for (std::uint64_t time = 0; time < piece.times; ++time) {
            bytes.insert(bytes.end(), piece.bytes.begin(), piece.bytes.end());
        }
    }
    return bytes;
}

}  // namespace quorrel
