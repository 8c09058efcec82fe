#pragma once

#include <cstdint>

#include "SkillRow.h"
#include "SkillTableLayout.h"
#include "runtime/CodePage.h"

namespace quorrel {

// Lays out a table in the game clients' layout from a list, checking that every skill can be
// written so that a load reads back the same list: records in list order, numbered records where
// given and empty slots for the numbers the list skips.
class SkillTableBuilder {
  public:
    // Neither file may pass what a signed 32-bit offset reaches; for the index that is a bound
    // chosen to match, which also keeps the empty slots a list can ask for to a size memory holds.
    static constexpr std::uint64_t kLargestFile = 0x7FFFFFFF;

    // A table whose names are written in `codePage` and whose files stay within `largestFile`
    // bytes; kLargestFile unless a test wants the bound where it can reach it.
    explicit SkillTableBuilder(CodePage codePage, std::uint64_t largestFile = kLargestFile)
        : codePage_(codePage), largestFile_(largestFile) {}

    // The same, with names in the system's code page.
    explicit SkillTableBuilder(std::uint64_t largestFile = kLargestFile)
        : SkillTableBuilder(CodePage::ofSystem(), largestFile) {}

    // Appends the skill at its record with its name and flag byte; a list that does not number
    // its skills gives each nextRecord(). Throws a bad-input failure naming the skill when its
    // record is not after the previous skill's, its name is not UTF-8, holds a zero byte or a
    // character the code page cannot hold, or the files would grow past the largest file; the
    // table is then as before the call. Memory running out is a std::bad_alloc.
    void add(const SkillRow& skill);

    // Ends the index with empty slots up to `records` records in all, so that a table whose last
    // records are empty slots keeps them. Throws a bad-input failure when the skills already use
    // more records, or the index would grow past the largest file.
    void padTo(std::uint64_t records);

    // The record after the last one used: the number the next skill of an unnumbered list gets.
    std::uint64_t nextRecord() const noexcept { return nextRecord_; }

    const SkillFiles& files() const noexcept { return files_; }

  private:
    // The records the list skips before `record` become empty slots.
    void emptySlotsUpTo(std::uint64_t record);

    // The most records the index may hold.
    std::uint64_t mostRecords() const noexcept;

    CodePage codePage_;
    std::uint64_t largestFile_;
    SkillFiles files_;
    std::uint64_t nextRecord_ = 0;
};

}  // namespace quorrel
