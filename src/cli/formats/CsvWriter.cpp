#include "CsvWriter.h"

#include <cstdint>
#include <string_view>

#include "CsvFormat.h"

namespace quorrel::cli {
namespace {

void writeField(std::ostream& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out << text;
        return;
    }
    out.put('"');
    for (std::size_t from = 0;;) {
        const std::size_t quote = text.find('"', from);
        out << text.substr(from, quote - from);
        if (quote == std::string_view::npos) {
            break;
        }
        out << "\"\"";
        from = quote + 1;
    }
    out.put('"');
}

// The rows of the empty slots from record `from` up to `to`.
void writeEmptySlots(std::ostream& out, std::uint64_t from, std::uint64_t to) {
    for (std::uint64_t record = from; record < to; ++record) {
        out << record << ",,," << csv::kRowEnd;
    }
}

}  // namespace

void writeSkillsAsCsv(std::ostream& out, const SkillDump& dump) {
    out << csv::kHeader << csv::kRowEnd;
    std::uint64_t next = 0;
    for (const SkillRow& skill : dump.skills) {
        writeEmptySlots(out, next, skill.record);
        out << skill.record << csv::kSeparator;
        writeField(out, skill.name);
        out << csv::kSeparator << (skill.checked ? csv::kChecked : csv::kClear) << csv::kSeparator
            << static_cast<unsigned>(skill.flag) << csv::kRowEnd;
        next = skill.record + 1;
    }
    writeEmptySlots(out, next, dump.recordCount);
}

}  // namespace quorrel::cli
