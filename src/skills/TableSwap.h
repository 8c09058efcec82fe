#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "SkillFileLayout.h"
#include "SkillTableBuilder.h"
#include "SparseIndex.h"
#include "runtime/replace/TargetReplacement.h"

namespace quorrel {

// Whether every used record of the index has its flag within a data file of `dataSize` bytes: a
// table whose records all read from its data file, whatever follows its end.
bool everyFlagWithin(std::span<const std::uint8_t> index, std::uint64_t dataSize);

// The versions of the data file (target kData) and the index (kIndex) that put a new table in
// place of an old one, in an order that leaves a pair reading as the old table or as the new one
// after every rename, so that a stop at any moment never leaves a mix:
//  1. a data file that holds the old data file's bytes, then zeros past the reach of every old
//     record, then the new data file's bytes: beside the old index it reads as the old table;
//  2. an index pointing at the new records in it: the new table;
//  3. a data file that holds the new data file's bytes both at its start and where that index
//     points;
//  4. the final index, pointing at the start: still the new table;
//  5. the final data file, which the final index reads the same.
// The final files are the table's own bytes. This order is used when both old files exist, no old
// record's flag lies past the old data file's end (the old table's load fails there, which a
// longer data file cannot repeat: everyFlagWithin) and the data files it passes through stay within
// kLargestPaddedFile; otherwise the two files are put in place as they are, the data file first
// (the index first when only the index exists), so that the old or the missing index still decides
// what a reader finds until the very last rename. Every new record's flag must lie within the new
// data file, as it does in a table SkillTableBuilder lays out.
class TableSwap final : public ReplacementVersions {
  public:
    static constexpr std::size_t kData = 0;
    static constexpr std::size_t kIndex = 1;
    static constexpr std::uint64_t kLargestPaddedFile = 64 * 1024 * 1024;

    // `fresh` must outlive the swap: its versions point into it, and into the old data kept here.
    TableSwap(const LaidOutTable& fresh, OldFile oldData, const OldFile& oldIndex);
    TableSwap(const TableSwap&) = delete;
    TableSwap& operator=(const TableSwap&) = delete;

    std::span<const FileVersion> versions() const noexcept override { return versions_; }

  private:
    void padThrough(const LaidOutTable& fresh, std::uint64_t start);

    std::vector<std::uint8_t> oldData_;
    std::vector<std::uint8_t> zeros_;
    SparseIndex shiftedIndex_;
    std::vector<FileVersion> versions_;
};

}  // namespace quorrel
