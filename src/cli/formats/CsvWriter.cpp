#include "CsvWriter.h"

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

}  // namespace

void writeSkillsAsCsv(std::ostream& out, std::span<const SkillRow> skills) {
    out << csv::kHeader << csv::kRowEnd;
    for (const SkillRow& skill : skills) {
        out << skill.record << ',';
        writeField(out, skill.name);
        out << ',' << (skill.checked ? csv::kChecked : csv::kClear) << csv::kRowEnd;
    }
}

}  // namespace quorrel::cli
