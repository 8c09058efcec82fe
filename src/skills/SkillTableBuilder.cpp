#include "SkillTableBuilder.h"

#include <algorithm>

#include "SkillFileLayout.h"
#include "runtime/base/Ascii.h"
#include "runtime/base/Failure.h"
#include "runtime/text/Text8Bit.h"

namespace quorrel {
namespace {

// The bytes of the flag and the terminating zero around a name.
constexpr std::uint64_t kRecordOverhead = 2;

// Longer names are cut in messages; the record number tells which skill it is.
constexpr std::size_t kLongestShownName = 60;

// The name as a message can show it: control bytes, the zero byte among them, as \xHH.
std::string shownName(std::string_view name) {
    std::string shown;
    for (const char character : name.substr(0, kLongestShownName)) {
        const auto byte = static_cast<std::uint8_t>(character);
        if (byte < 0x20 || byte == 0x7F) {
            shown += "\\x";
            shown += kLowerHexDigits[byte >> 4];
            shown += kLowerHexDigits[byte & 0xF];
        } else {
            shown += character;
        }
    }
    return name.size() > kLongestShownName ? shown + "..." : shown;
}

Failure badSkill(const SkillRow& skill, const std::string& reason) {
    return Failure(FailureKind::BadInput, "skill \"" + shownName(skill.name) + "\" (record " +
                                              std::to_string(skill.record) + "): " + reason);
}

}  // namespace

void SkillTableBuilder::add(const SkillRow& skill, const Place& where) {
    if (skill.record < nextRecord_) {
        throw badSkill(skill, nextRecord_ == 0
                                  ? "records are numbered from 0"
                                  : "its record is not after the previous skill's record " +
                                        std::to_string(nextRecord_ - 1));
    }
    if (skill.record >= mostRecords()) {
        throw badSkill(skill, "the index file would pass 2 GiB");
    }
    if (holding_) {
        holding_->see(skill.name);
        nextRecord_ = skill.record + 1;
        return;
    }
    std::optional<std::string> held;
    try {
        held = textTo8BitIfHeld(skill.name, codePage_);
    } catch (const Failure& failure) {
        throw badSkill(skill, "its name " + failure.description());
    }
    if (!held) {
        refuse(skill, where);
        return;
    }
    std::string name = std::move(*held);
    if (name.find('\0') != std::string::npos) {
        throw badSkill(skill, "its name holds a zero byte, which would end the name there");
    }
    if (files_.data.size() + name.size() + kRecordOverhead > largestFile_) {
        throw badSkill(skill,
                       "the data file would pass 2 GiB, past what a record's 32-bit offset and "
                       "length reach");
    }
    emptySlotsUpTo(skill.record);
    appendGameClientRecord(files_, SkillRecord{std::move(name), skill.flag, 0});
    ++nextRecord_;
}

void SkillTableBuilder::padTo(std::uint64_t records) {
    if (records < nextRecord_) {
        throw Failure(FailureKind::BadInput, "the table has " + std::to_string(records) +
                                                 " records, but its skills use " +
                                                 std::to_string(nextRecord_));
    }
    if (records > mostRecords()) {
        throw Failure(FailureKind::BadInput,
                      "an index of " + std::to_string(records) + " records would pass 2 GiB");
    }
    emptySlotsUpTo(records);
}

void SkillTableBuilder::finish(bool wholeList) const {
    if (!refused_) {
        return;
    }
    if (!wholeList) {
        throw *refused_;
    }
    const auto holding = holding_->first();
    throw Failure(refused_->kind(),
                  refused_->description() + "; " +
                      (holding ? "--codepage " + std::to_string(holding->number()) +
                                     " holds every name of this list"
                               : "no other code page this program knows holds every name of "
                                 "this list"));
}

void SkillTableBuilder::refuse(const SkillRow& skill, const Place& where) {
    std::string reason;
    try {
        textTo8Bit(skill.name, codePage_);
    } catch (const Failure& failure) {
        reason = failure.description();
    }
    const Failure failure = badSkill(skill, "its name " + reason);
    refused_ = where ? failure.within(where()) : failure;
    holding_.emplace(codePage_);
    // The data records written so far: a flag, a name this code page holds and a zero each.
    const std::vector<std::uint8_t>& data = files_.data;
    for (auto at = data.begin(); at != data.end();) {
        const auto end = std::find(at + 1, data.end(), std::uint8_t{0});
        holding_->see(textFrom8Bit(std::span(at + 1, end), codePage_));
        at = end + 1;
    }
    holding_->see(skill.name);
    // The table will not be written: its bytes need not be held any longer.
    files_ = SkillFiles{};
    nextRecord_ = skill.record + 1;
}

std::uint64_t SkillTableBuilder::mostRecords() const noexcept {
    // Divided rather than multiplied, so that no record number, however large, wraps around to
    // a small size.
    return largestFile_ / kIndexRecordSize;
}

void SkillTableBuilder::emptySlotsUpTo(std::uint64_t record) {
    if (refused_) {
        nextRecord_ = std::max(nextRecord_, record);
        return;
    }
    while (nextRecord_ < record) {
        appendEmptySlot(files_);
        ++nextRecord_;
    }
}

}  // namespace quorrel
