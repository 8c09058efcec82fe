#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "SkillFileLayout.h"
#include "SkillRow.h"
#include "SparseIndex.h"
#include "runtime/base/Failure.h"
#include "runtime/text/CodePage.h"
#include "runtime/text/HoldingCodePages.h"

namespace quorrel {

// A table laid out: the data file's bytes and the index, whose empty slots are held as counts.
struct LaidOutTable {
    SparseIndex index;
    std::vector<std::uint8_t> data;
};

// Lays out a table in the game clients' layout from a list, checking that every skill can be
// written so that a load reads back the same list: records in list order, numbered records where
// given and empty slots for the numbers the list skips. Memory holds the skills, never the empty
// slots: a list asking for the largest index costs what its skills cost.
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

    // Where in the list a skill stands, for a message: "line 3", "skills[2]".
    using Place = std::function<std::string()>;

    // Appends the skill at its record with its name and flag byte; a list that does not number
    // its skills gives each nextRecord(). Throws a bad-input failure naming the skill when its
    // record is not after the previous skill's, its name is not UTF-8 or holds a zero byte, or
    // the files would grow past the largest file; the table is then as before the call. Memory
    // running out is a std::bad_alloc.
    //
    // A name the code page cannot hold fails the table too, but not at once: the failure, said to
    // be at `where`, is kept for finish(), nothing more is written, and the names after it are
    // only looked at, so that finish() can name a code page that holds every name of the list.
    void add(const SkillRow& skill, const Place& where = {});

    // Ends the index with empty slots up to `records` records in all, so that a table whose last
    // records are empty slots keeps them. Throws a bad-input failure when the skills already use
    // more records, or the index would grow past the largest file.
    void padTo(std::uint64_t records);

    // Throws the failure kept for the first name the code page could not hold, if any. With
    // `wholeList`, every name of the list having been added, it names the first known code page
    // that holds them all ("--codepage 1251 holds every name of this list").
    void finish(bool wholeList = true) const;

    // The record after the last one used: the number the next skill of an unnumbered list gets.
    std::uint64_t nextRecord() const noexcept { return nextRecord_; }

    const LaidOutTable& files() const noexcept { return files_; }

    // The most records the index may hold.
    std::uint64_t mostRecords() const noexcept;

  private:
    // The records the list skips before `record` become empty slots.
    void emptySlotsUpTo(std::uint64_t record);

    // Keeps the failure of a skill whose name the code page cannot hold, and from then on only
    // narrows down the code pages that hold every name, starting with those written so far.
    void refuse(const SkillRow& skill, const Place& where);

    CodePage codePage_;
    std::uint64_t largestFile_;
    LaidOutTable files_;
    std::uint64_t nextRecord_ = 0;
    std::optional<Failure> refused_;
    std::optional<HoldingCodePages> holding_;  // once a name is refused
};

}  // namespace quorrel
