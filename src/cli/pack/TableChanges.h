#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "TableInPlace.h"
#include "runtime/text/CodePage.h"
#include "skills/SkillFileLayout.h"
#include "skills/SkillRow.h"
#include "skills/SkillTableBuilder.h"

namespace quorrel::cli {

// Whether changes are said before a run makes them ("would become"), as --dry-run says them, or
// once it has ("became"), as --verbose does.
enum class Tense { Coming, Done };

// What a pack changes of the table in place, as a user sees the table: by record, a skill's name,
// its flag, a skill added or removed (leaving an empty slot, or with the index's end), and the
// index growing or shrinking. Only when no skill changes are the bytes compared: a table in
// another layout than the game clients' is written in theirs. A table in place that cannot be
// read whole is compared as far as it was read.
//
// Both tables are compared as a load reads them: the table in place as it read it, the new one
// from the bytes the list made, so that a change is one the game would see.
class TableChanges {
  public:
    // `fresh` is the list's table, its names in `codePage`, in which the table in place was read.
    TableChanges(const TableInPlace& inPlace, const LaidOutTable& fresh, CodePage codePage);

    // One line per record that differs, in record order, then the index's size when it changes;
    // first, a line for a table in place that could not be read whole. Or the one line of a new
    // table, or of a table with no skill changed.
    std::vector<std::string> lines(Tense tense) const;

  private:
    // One record whose skill differs; a side without one has an empty slot there, or no record.
    struct RecordChange {
        std::uint64_t record;
        std::optional<SkillRow> before;
        std::optional<SkillRow> after;
    };

    // The first index record written otherwise, and how the data file's bytes change, for a table
    // whose skills do not.
    struct ByteChanges {
        bool known = false;  // both files in place were held
        std::uint64_t indexRecordsDiffering = 0;
        std::optional<std::uint64_t> firstRecord;
        IndexRecord firstBefore;
        IndexRecord firstAfter;
        std::uint64_t indexTail = 0;  // bytes of the index in place after its last whole record
        std::uint64_t dataBefore = 0;
        std::uint64_t dataAfter = 0;
        bool dataDiffers = false;

        bool any() const noexcept {
            return indexRecordsDiffering > 0 || indexTail > 0 || dataDiffers;
        }
    };

    void compareRecords(const std::vector<SkillRow>& before, const std::vector<SkillRow>& after);
    void compareBytes(const SkillFiles& before, const SkillFiles& after);

    std::string recordLine(const RecordChange& change, Tense tense) const;
    std::string sizeLine(Tense tense) const;
    std::string unchangedLine(Tense tense) const;
    std::string unreadLine(Tense tense) const;

    bool isNew_ = false;
    std::optional<std::string> unread_;  // why the table in place could not be read whole
    std::uint64_t recordsBefore_ = 0;    // read, when not whole
    std::uint64_t recordsAfter_ = 0;
    std::uint64_t skillsAfter_ = 0;
    std::uint64_t skillsAfterUnread_ = 0;   // of the new table, past what could be read
    std::uint64_t emptySlotsAtTheEnd_ = 0;  // of the new table
    std::vector<RecordChange> records_;
    ByteChanges bytes_;
};

}  // namespace quorrel::cli
