#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "SkillFileLayout.h"
#include "runtime/replace/FileReplacement.h"

namespace quorrel {

// An index file as a table being laid out holds it: the records of its skills as their bytes,
// and each run of empty slots as a count, so that the empty slots a list asks for cost no memory
// however many they are; they become bytes only as the file is written (pieces()). A run shorter
// than kShortestCountedRun is held as its bytes, which cost no more than its count and the pieces
// that write it would: so whatever a list asks for, what is held stays within a small multiple
// of its skills, and the writer gets few pieces. An index file read whole (ofFile) is held with
// its records as their bytes and the 1 to 11 bytes after its last whole record, which no load reads
// as a record, as they are.
class SparseIndex {
  public:
    static constexpr std::uint64_t kShortestCountedRun = 8;

    // The index file with these bytes, every byte kept.
    static SparseIndex ofFile(std::span<const std::uint8_t> bytes);

    void append(const IndexRecord& record);
    void appendEmptySlots(std::uint64_t count);

    std::uint64_t records() const noexcept { return records_; }
    std::uint64_t size() const noexcept { return records_ * kIndexRecordSize + tail_.size(); }
    bool empty() const noexcept { return records_ == 0; }

    // The same index with every record that is no empty slot moved `shift` bytes further into
    // the data file. A record with another negative offset stays: it reads nothing, and moved it
    // would.
    SparseIndex shifted(std::uint64_t shift) const;

    // The file's bytes as the writer takes them: the skills' records as they are held, each run
    // of empty slots as a block of them written over and over. They point into this index.
    FilePieces pieces() const;

    // The records that are not empty slots, each with its number, in record order: what a load
    // reads of the index, without the empty slots held as counts.
    std::vector<std::pair<std::uint64_t, IndexRecord>> usedRecords() const;

    // The file's bytes, all of them in memory.
    std::vector<std::uint8_t> bytes() const;

    bool operator==(const SparseIndex&) const = default;

  private:
    // The skills' records up to `recordsEnd` bytes into `records_` of the held bytes, then
    // `emptySlots` empty slots.
    struct Gap {
        std::size_t recordsEnd;
        std::uint64_t emptySlots;
        bool operator==(const Gap&) const = default;
    };

    std::vector<std::uint8_t> used_;
    std::vector<Gap> gaps_;
    std::uint64_t records_ = 0;
    std::vector<std::uint8_t> tail_;  // after the last whole record
};

}  // namespace quorrel
