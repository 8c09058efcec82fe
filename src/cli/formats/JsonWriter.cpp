#include "JsonWriter.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "JsonFormat.h"
#include "runtime/base/Ascii.h"
#include "runtime/base/Utf8.h"

namespace quorrel::cli {
namespace {

// The escape JSON requires for a byte, or an empty view when the byte stands for itself.
std::string_view shortEscape(std::uint8_t byte) {
    switch (byte) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\b':
            return "\\b";
        case '\f':
            return "\\f";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            return {};
    }
}

// U+FFFD, which stands for a byte that is not part of any UTF-8 character.
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// A JSON string of UTF-8 text: quotes, the backslash and the C0 controls escaped, the rest as
// it is, written in runs rather than byte by byte. A byte that is not UTF-8 (a path's, in a
// message) becomes U+FFFD, as JSON has no way to hold it; standard error keeps the bytes.
void writeString(std::ostream& out, std::string_view text) {
    out.put('"');
    std::size_t plainFrom = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        const auto byte = static_cast<std::uint8_t>(text[at]);
        if (byte >= 0x80) {
            if (nextCodePoint(text, at)) {
                continue;
            }
            out.write(text.data() + plainFrom, static_cast<std::streamsize>(start - plainFrom));
            out << kReplacementCharacter;
            plainFrom = at;
            continue;
        }
        ++at;
        if (byte >= 0x20 && byte != '"' && byte != '\\') {
            continue;
        }
        out.write(text.data() + plainFrom, static_cast<std::streamsize>(start - plainFrom));
        if (const std::string_view escape = shortEscape(byte); !escape.empty()) {
            out << escape;
        } else {
            const std::array<char, 6> unicode = {
                '\\', 'u', '0', '0', kLowerHexDigits[byte >> 4], kLowerHexDigits[byte & 0xF]};
            out.write(unicode.data(), unicode.size());
        }
        plainFrom = at;
    }
    out.write(text.data() + plainFrom, static_cast<std::streamsize>(text.size() - plainFrom));
    out.put('"');
}

// What goes before the value of the member `key` (which needs no escape): `before`, then a line
// of its own, `indent` spaces in, with the key.
std::string memberStart(std::string_view before, std::size_t indent, std::string_view key) {
    std::string start(before);
    start += '\n';
    start.append(indent, ' ');
    start += '"';
    start += key;
    start += "\": ";
    return start;
}

void writeSkill(std::ostream& out, const SkillRow& skill) {
    // Made once: a table of a million skills writes them a million times.
    static const std::string record = memberStart("    {", 6, json::kRecord);
    static const std::string name = memberStart(",", 6, json::kName);
    static const std::string checked = memberStart(",", 6, json::kChecked);
    static const std::string flag = memberStart(",", 6, json::kFlag);
    out << record << skill.record << name;
    writeString(out, skill.name);
    out << checked << (skill.checked ? "true" : "false") << flag
        << static_cast<unsigned>(skill.flag) << "\n    }";
}

void writeError(std::ostream& out, const std::optional<Failure>& failure) {
    if (!failure) {
        out << "null";
        return;
    }
    out << memberStart("{", 4, json::kKind);
    writeString(out, failureKindName(failure->kind()));
    out << memberStart(",", 4, json::kMessage);
    writeString(out, failure->what());
    out << "\n  }";
}

}  // namespace

void writeSkillsAsJson(std::ostream& out, const SkillDump& dump) {
    out << memberStart("{", 2, json::kSkills) << '[';
    const char* separator = "\n";
    for (const SkillRow& skill : dump.skills) {
        out << separator;
        writeSkill(out, skill);
        separator = ",\n";
    }
    out << (dump.skills.empty() ? "]," : "\n  ],") << memberStart("", 2, json::kRecordCount)
        << dump.recordCount << memberStart(",", 2, json::kError);
    writeError(out, dump.failure);
    out << "\n}\n";
}

}  // namespace quorrel::cli
