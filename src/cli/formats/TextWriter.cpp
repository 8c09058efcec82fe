#include "TextWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "TextFormat.h"

namespace quorrel::cli {
namespace {

void writeHexEscape(std::ostream& out, std::uint8_t value) {
    const std::array<char, 4> escape = {'\\', text::kHexEscapeLetter, text::kHexDigits[value >> 4],
                                        text::kHexDigits[value & 0xF]};
    out.write(escape.data(), escape.size());
}

// The escape for the character that starts at `at`, and how many bytes it spans; 0 bytes for a
// character written as it is. The names are valid UTF-8, in which U+0080..U+009F, the C1
// controls, are the bytes C2 80..C2 9F.
std::size_t writeEscapeAt(std::ostream& out, std::string_view name, std::size_t at) {
    const char character = name[at];
    const auto* named = std::find_if(
        text::kNamedEscapes.begin(), text::kNamedEscapes.end(),
        [character](const text::NamedEscape& escape) { return escape.character == character; });
    if (named != text::kNamedEscapes.end()) {
        const std::array<char, 2> escape = {'\\', named->letter};
        out.write(escape.data(), escape.size());
        return 1;
    }
    const auto byte = static_cast<std::uint8_t>(character);
    if (byte < 0x20 || byte == 0x7F) {
        writeHexEscape(out, byte);
        return 1;
    }
    if (byte == 0xC2 && at + 1 < name.size()) {
        const auto next = static_cast<std::uint8_t>(name[at + 1]);
        if (next >= 0x80 && next <= 0x9F) {
            writeHexEscape(out, next);
            return 2;
        }
    }
    return 0;
}

void writeEscaped(std::ostream& out, std::string_view name) {
    std::size_t plainFrom = 0;
    for (std::size_t at = 0; at < name.size();) {
        const auto byte = static_cast<std::uint8_t>(name[at]);
        const bool mayNeedEscape = byte < 0x20 || byte == 0x7F || byte == '\\' || byte == 0xC2;
        if (!mayNeedEscape) {
            ++at;
            continue;
        }
        out.write(name.data() + plainFrom, static_cast<std::streamsize>(at - plainFrom));
        const std::size_t escaped = writeEscapeAt(out, name, at);
        if (escaped == 0) {
            out.put(name[at]);
            ++at;
        } else {
            at += escaped;
        }
        plainFrom = at;
    }
    out.write(name.data() + plainFrom, static_cast<std::streamsize>(name.size() - plainFrom));
}

}  // namespace

std::string escapedName(std::string_view name) {
    std::ostringstream escaped;
    writeEscaped(escaped, name);
    return std::move(escaped).str();
}

void writeSkillsAsText(std::ostream& out, std::span<const SkillRow> skills) {
    for (const SkillRow& skill : skills) {
        out << (skill.checked ? text::kCheckedMark : text::kClearMark);
        writeEscaped(out, skill.name);
        out << '\n';
    }
}

}  // namespace quorrel::cli
