#include "DumpNotices.h"

#include <algorithm>
#include <vector>

namespace quorrel::cli {
namespace {

// A message lists this many records at most, then how many there are in all.
constexpr std::size_t kRecordsListed = 10;

std::string counted(std::uint64_t count, const std::string& singular, const std::string& plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

std::string joined(const std::vector<std::string>& parts, const std::string& separator) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : separator) + part;
    }
    return text;
}

}  // namespace

std::optional<std::string> whatTextLeavesOut(const SkillDump& dump) {
    const auto& skills = dump.skills;
    const std::uint64_t afterLast = skills.empty() ? 0 : skills.back().record + 1;
    std::vector<std::string> lost;
    // Records count up from 0, so the first skill not at its place in the list follows a gap.
    if (const std::uint64_t between = afterLast - skills.size(); between > 0) {
        std::uint64_t first = 0;
        while (skills[first].record == first) {
            ++first;
        }
        lost.push_back(counted(between, "empty slot", "empty slots") +
                       " before or between its skills (the first is record " +
                       std::to_string(first) + "), which would move the skills after " +
                       (between == 1 ? "it" : "them") + " to other records");
    }
    if (dump.recordCount > afterLast) {
        lost.push_back(counted(dump.recordCount - afterLast, "empty slot", "empty slots") +
                       (skills.empty() ? "" : " after its last skill") +
                       ", which would be dropped");
    }
    const auto odd = [](const SkillRow& skill) { return skill.flag > 1; };
    if (const auto first = std::find_if(skills.begin(), skills.end(), odd); first != skills.end()) {
        lost.push_back(counted(static_cast<std::uint64_t>(std::count_if(first, skills.end(), odd)),
                               "flag", "flags") +
                       " other than 0 and 1 (the first, " + std::to_string(first->flag) +
                       ", at record " + std::to_string(first->record) + "), which would become 1");
    }
    if (lost.empty()) {
        return std::nullopt;
    }
    return "the text format keeps names and check marks only, and this table has " +
           joined(lost, "; ") + "; --format csv or --format json keeps the whole table";
}

std::optional<std::string> namesWrittenBackOtherwise(const SkillDump& dump, CodePage codePage) {
    const auto& records = dump.writtenBackOtherwise;
    if (records.empty()) {
        return std::nullopt;
    }
    std::vector<std::string> listed;
    for (std::size_t i = 0; i < std::min(records.size(), kRecordsListed); ++i) {
        listed.push_back(std::to_string(records[i]));
    }
    const std::string more = records.size() > kRecordsListed
                                 ? " (" + std::to_string(records.size()) + " in all)"
                                 : std::string();
    return "in " + codePage.name() + " the " +
           (records.size() == 1 ? "name of record " : "names of records ") + joined(listed, ", ") +
           more + (records.size() == 1 ? " uses" : " use") +
           " a second spelling of a character, which quorrel-pack writes in its first: packed "
           "back, the text stays the same but the bytes do not";
}

}  // namespace quorrel::cli
