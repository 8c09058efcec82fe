#include "TextFormat.h"

namespace quorrel::cli {

void writeSkillsAsText(std::ostream& out, std::span<const SkillItem> skills) {
    for (const SkillItem& skill : skills) {
        out << (skill.checked ? "[x] " : "[ ] ") << skill.text << '\n';
    }
}

}  // namespace quorrel::cli
