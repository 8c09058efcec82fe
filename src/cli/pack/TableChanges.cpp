#include "TableChanges.h"

#include <algorithm>

#include "cli/formats/TextWriter.h"
#include "runtime/text/Text8Bit.h"

namespace quorrel::cli {
namespace {

// The skills of a table the builder made, as a load reads them: a used record's flag at its
// offset, its name in the bytes after it up to the first zero.
std::vector<SkillRow> skillsOf(const LaidOutTable& files, CodePage codePage) {
    std::vector<SkillRow> skills;
    for (const auto& [record, place] : files.index.usedRecords()) {
        // The builder's names end in a zero, which the length counts with the flag.
        const auto start = files.data.begin() + place.offset;
        const auto nameEnd = std::find(start + 1, files.data.end(), std::uint8_t{0});
        skills.push_back(SkillRow{record, textFrom8Bit(std::span(start + 1, nameEnd), codePage),
                                  *start != 0, *start});
    }
    return skills;
}

const char* said(Tense tense, const char* coming, const char* done) {
    return tense == Tense::Coming ? coming : done;
}

std::string quoted(const std::string& name) {
    return "\"" + escapedName(name) + "\"";
}

std::string plural(std::uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "flag 1 would become 0 (check mark cleared)"
std::string flagChange(std::uint8_t before, std::uint8_t after, Tense tense) {
    const char* mark = before == 0  ? "check mark set"
                       : after == 0 ? "check mark cleared"
                                    : "still checked";
    return "flag " + std::to_string(before) + " " + said(tense, "would become", "became") + " " +
           std::to_string(after) + " (" + mark + ")";
}

// "offset 8 would become 0, length 6 would become 7": the fields of an index record that differ.
std::string fieldChanges(const IndexRecord& before, const IndexRecord& after, Tense tense) {
    const char* becomes = said(tense, " would become ", " became ");
    std::vector<std::string> fields;
    if (before.offset != after.offset) {
        fields.push_back("offset " + std::to_string(before.offset) + becomes +
                         std::to_string(after.offset));
    }
    if (before.length != after.length) {
        fields.push_back("length " + std::to_string(before.length) + becomes +
                         std::to_string(after.length));
    }
    if (before.extra != after.extra) {
        fields.push_back("extra " + std::to_string(before.extra) + becomes +
                         std::to_string(after.extra));
    }
    std::string joined;
    for (const std::string& field : fields) {
        joined += (joined.empty() ? "" : ", ") + field;
    }
    return joined;
}

}  // namespace

TableChanges::TableChanges(const TableInPlace& inPlace, const LaidOutTable& fresh,
                           CodePage codePage) {
    const std::vector<SkillRow> after = skillsOf(fresh, codePage);
    recordsAfter_ = fresh.index.records();
    skillsAfter_ = after.size();
    emptySlotsAtTheEnd_ = recordsAfter_ - (after.empty() ? 0 : after.back().record + 1);
    isNew_ = !inPlace.exists;
    if (isNew_) {
        return;
    }
    recordsBefore_ = inPlace.read.recordCount;
    if (inPlace.read.failure) {
        unread_ = inPlace.read.failure->description();
    }
    compareRecords(inPlace.read.skills, after);
    if (records_.empty() && !unread_ && recordsBefore_ == recordsAfter_ && inPlace.bytes) {
        // As many records as the table in place, which is held whole: so are these.
        compareBytes(*inPlace.bytes, SkillFiles{fresh.index.bytes(), fresh.data});
    }
}

void TableChanges::compareRecords(const std::vector<SkillRow>& before,
                                  const std::vector<SkillRow>& after) {
    auto old = before.begin();
    auto fresh = after.begin();
    // Past what a table in place that could not be read whole was read, nothing is compared.
    const auto compared = [&](const SkillRow& row) {
        return !unread_ || row.record < recordsBefore_;
    };
    while (old != before.end() || (fresh != after.end() && compared(*fresh))) {
        const bool takeOld = old != before.end() && (fresh == after.end() || !compared(*fresh) ||
                                                     old->record <= fresh->record);
        const bool takeFresh = fresh != after.end() && compared(*fresh) &&
                               (old == before.end() || fresh->record <= old->record);
        RecordChange change{takeOld ? old->record : fresh->record, std::nullopt, std::nullopt};
        if (takeOld) {
            change.before = *old++;
        }
        if (takeFresh) {
            change.after = *fresh++;
        }
        if (!change.before || !change.after || change.before->name != change.after->name ||
            change.before->flag != change.after->flag) {
            records_.push_back(std::move(change));
        }
    }
    skillsAfterUnread_ = static_cast<std::uint64_t>(after.end() - fresh);
}

void TableChanges::compareBytes(const SkillFiles& before, const SkillFiles& after) {
    bytes_.known = true;
    for (std::size_t record = 0; record < recordsAfter_; ++record) {
        const IndexRecord old = indexRecordAt(before.index, record);
        const IndexRecord fresh = indexRecordAt(after.index, record);
        if (old.offset != fresh.offset || old.length != fresh.length || old.extra != fresh.extra) {
            if (!bytes_.firstRecord) {
                bytes_.firstRecord = record;
                bytes_.firstBefore = old;
                bytes_.firstAfter = fresh;
            }
            ++bytes_.indexRecordsDiffering;
        }
    }
    bytes_.indexTail = before.index.size() - recordsAfter_ * kIndexRecordSize;
    bytes_.dataBefore = before.data.size();
    bytes_.dataAfter = after.data.size();
    bytes_.dataDiffers = before.data != after.data;
}

std::vector<std::string> TableChanges::lines(Tense tense) const {
    if (isNew_) {
        return {std::string(said(tense, "a new table: ", "a new table was written: ")) +
                plural(skillsAfter_, "skill", "skills") + " in " +
                plural(recordsAfter_, "record", "records")};
    }
    std::vector<std::string> lines;
    if (unread_) {
        lines.push_back(unreadLine(tense));
    }
    for (const RecordChange& change : records_) {
        lines.push_back(recordLine(change, tense));
    }
    if (unread_) {
        if (recordsAfter_ > recordsBefore_) {
            lines.push_back("from record " + std::to_string(recordsBefore_) + " on, " +
                            plural(skillsAfterUnread_, "skill", "skills") + " in " +
                            plural(recordsAfter_ - recordsBefore_, "record", "records") + " " +
                            said(tense, "would take", "took") +
                            " the place of what could not be read");
        }
    } else if (recordsBefore_ != recordsAfter_) {
        lines.push_back(sizeLine(tense));
    }
    if (lines.empty()) {
        lines.push_back(unchangedLine(tense));
    }
    return lines;
}

std::string TableChanges::recordLine(const RecordChange& change, Tense tense) const {
    const std::string record = "record " + std::to_string(change.record);
    if (!change.before) {
        return record + ": " + quoted(change.after->name) + " " +
               said(tense, "would be added", "was added") + ", flag " +
               std::to_string(change.after->flag);
    }
    if (!change.after) {
        const bool slotLeft = change.record < recordsAfter_;
        return record + ": " + quoted(change.before->name) + " " +
               said(tense, "would be removed", "was removed") +
               (slotLeft ? ", leaving an empty slot" : "");
    }
    const bool flagChanged = change.before->flag != change.after->flag;
    if (change.before->name == change.after->name) {
        return record + " " + quoted(change.before->name) + ": " +
               flagChange(change.before->flag, change.after->flag, tense);
    }
    return record + ": name " + quoted(change.before->name) + " " +
           said(tense, "would become", "became") + " " + quoted(change.after->name) +
           (flagChanged ? ", " + flagChange(change.before->flag, change.after->flag, tense) : "");
}

std::string TableChanges::sizeLine(Tense tense) const {
    const bool grows = recordsAfter_ > recordsBefore_;
    std::string line =
        std::string("the index ") +
        (grows ? said(tense, "would grow", "grew") : said(tense, "would shrink", "shrank")) +
        " from " + std::to_string(recordsBefore_) + " to " +
        plural(recordsAfter_, "record", "records");
    if (emptySlotsAtTheEnd_ > 0) {
        line += " (" + plural(emptySlotsAtTheEnd_, "empty slot", "empty slots") +
                " after the last skill)";
    }
    return line;
}

std::string TableChanges::unchangedLine(Tense tense) const {
    const std::string none = said(tense, "no skill would change", "no skill changed");
    if (!bytes_.known) {
        return none +
               said(tense, ", and the files in place, which could not be held, would be",
                    ", and the files in place, which could not be held, were") +
               " written in the game clients' layout";
    }
    if (!bytes_.any()) {
        return none + said(tense, ", and both files would be written as they are",
                           ", and both files were written as they were");
    }
    std::vector<std::string> parts;
    if (bytes_.firstRecord) {
        parts.push_back(plural(bytes_.indexRecordsDiffering, "index record", "index records") +
                        " " + said(tense, "would change", "changed") + ", the first record " +
                        std::to_string(*bytes_.firstRecord) + " (" +
                        fieldChanges(bytes_.firstBefore, bytes_.firstAfter, tense) + ")");
    }
    if (bytes_.indexTail > 0) {
        parts.push_back("the index's last " + plural(bytes_.indexTail, "byte", "bytes") +
                        ", no whole record, " + said(tense, "would go", "went"));
    }
    if (bytes_.dataDiffers) {
        parts.push_back(std::string("the data file ") + said(tense, "would change", "changed") +
                        (bytes_.dataBefore == bytes_.dataAfter
                             ? ", keeping its " + plural(bytes_.dataAfter, "byte", "bytes")
                             : " from " + std::to_string(bytes_.dataBefore) + " to " +
                                   plural(bytes_.dataAfter, "byte", "bytes")));
    }
    std::string line = none + said(tense, ", but the table is not", ", but the table was not") +
                       " in the game clients' layout, and " + said(tense, "would be", "was") +
                       " written in it: ";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        line += (i == 0 ? "" : "; ") + parts[i];
    }
    return line;
}

std::string TableChanges::unreadLine(Tense tense) const {
    return std::string(said(tense, "the table in place cannot be read whole",
                            "the table replaced could not be read whole")) +
           " (" + *unread_ + "): " +
           (recordsBefore_ == 0 ? std::string("none of its records")
                                : "only its first " + plural(recordsBefore_, "record", "records")) +
           " " + said(tense, "are compared", "were compared");
}

}  // namespace quorrel::cli
