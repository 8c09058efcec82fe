#include "SkillTableBuilder.h"

#include "SkillFileLayout.h"
#include "runtime/Failure.h"
#include "runtime/Text8Bit.h"

namespace quorrel {
namespace {

// The bytes of the flag and the terminating zero around a name.
constexpr std::uint64_t kRecordOverhead = 2;

std::string skillNamed(const ListedSkill& skill, std::uint64_t record) {
    return "skill \"" + skill.name + "\" (record " + std::to_string(record) + ")";
}

Failure badSkill(const ListedSkill& skill, std::uint64_t record, const std::string& reason) {
    return Failure(FailureKind::BadInput, skillNamed(skill, record) + ": " + reason);
}

}  // namespace

void SkillTableBuilder::add(const ListedSkill& skill) {
    const std::uint64_t record = skill.record.value_or(nextRecord_);
    if (record < nextRecord_) {
        throw badSkill(skill, record,
                       nextRecord_ == 0 ? "records are numbered from 0"
                                        : "its record is not after the previous skill's record " +
                                              std::to_string(nextRecord_ - 1));
    }
    if ((record + 1) * kIndexRecordSize > kLargestFile) {
        throw badSkill(skill, record, "the index file would pass 2 GiB");
    }
    std::string name;
    try {
        name = textTo8Bit(skill.name);
    } catch (const Failure& failure) {
        throw badSkill(skill, record, failure.description());
    }
    if (name.find('\0') != std::string::npos) {
        throw badSkill(skill, record,
                       "a name cannot hold a zero byte: it would end the name there");
    }
    if (files_.data.size() + name.size() + kRecordOverhead > kLargestFile) {
        throw badSkill(skill, record,
                       "the data file would pass 2 GiB, past what a record's 32-bit offset and "
                       "length reach");
    }
    while (nextRecord_ < record) {
        appendEmptySlot(files_);
        ++nextRecord_;
    }
    appendGameClientRecord(files_, SkillRecord{std::move(name), skill.flag, 0});
    ++nextRecord_;
}

}  // namespace quorrel
