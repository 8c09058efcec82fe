#include "TextReader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "TextFormat.h"
#include "runtime/base/Failure.h"
#include "runtime/base/OutOfMemory.h"
#include "runtime/base/QuotedFromList.h"
#include "runtime/base/Utf8.h"

namespace quorrel::cli {
namespace {

std::optional<int> hexDigit(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    if (digit >= 'A' && digit <= 'F') {
        return digit - 'A' + 10;
    }
    return std::nullopt;
}

Failure badLine(std::string_view reason) {
    return Failure(FailureKind::BadInput, std::string(reason));
}

// The character of the escape at `at`, just after its backslash, moving `at` past it.
void appendEscaped(std::string& name, std::string_view escaped, std::size_t& at) {
    if (at >= escaped.size()) {
        throw badLine("a backslash ends the line; a backslash in a name is written \\\\");
    }
    const char letter = escaped[at++];
    const auto* named =
        std::find_if(text::kNamedEscapes.begin(), text::kNamedEscapes.end(),
                     [letter](const text::NamedEscape& escape) { return escape.letter == letter; });
    if (named != text::kNamedEscapes.end()) {
        name += named->character;
        return;
    }
    if (letter != text::kHexEscapeLetter) {
        // The character after the backslash, whole, shown escaped when it is no plain letter.
        std::size_t end = at - 1;
        nextCodePoint(escaped, end);
        const auto byte = static_cast<unsigned char>(letter);
        std::string shown = "\\";
        if (byte > 0x20 && byte < 0x7F) {
            shown += letter;
        } else {
            shown += " before " + quotedFromList(escaped.substr(at - 1, end - (at - 1)));
        }
        throw badLine("unknown escape " + shown + " (known: \\n, \\r, \\t, \\\\ and \\xHH)");
    }
    const auto high = at < escaped.size() ? hexDigit(escaped[at]) : std::nullopt;
    const auto low = at + 1 < escaped.size() ? hexDigit(escaped[at + 1]) : std::nullopt;
    if (!high || !low) {
        throw badLine("\\x must be followed by two hexadecimal digits");
    }
    at += 2;
    appendUtf8(name, static_cast<char32_t>(*high * 16 + *low));  // U+0000..U+00FF
}

std::string unescaped(std::string_view escaped) {
    std::string text;
    text.reserve(escaped.size());
    for (std::size_t at = 0; at < escaped.size();) {
        const std::size_t backslash = escaped.find('\\', at);
        text.append(escaped.substr(at, backslash - at));
        if (backslash == std::string_view::npos) {
            break;
        }
        at = backslash + 1;
        appendEscaped(text, escaped, at);
    }
    return text;
}

SkillRow skillOfLine(std::string_view line, std::uint64_t record) {
    if (startsWithByteOrderMark(line)) {
        throw byteOrderMarkInTheMiddle();
    }
    const bool checked = line.starts_with(text::kCheckedMark);
    if (!checked && !line.starts_with(text::kClearMark)) {
        throw badLine("a skill's line starts with \"[x] \" or \"[ ] \"");
    }
    return SkillRow{record, unescaped(line.substr(text::kCheckedMark.size())), checked,
                    static_cast<std::uint8_t>(checked ? 1 : 0)};
}

// Reads the next line into `line`, without its line feed; false at the end of the input.
bool nextLine(std::streambuf& in, std::string& line, std::size_t longest) {
    line.clear();
    int character = in.sbumpc();
    if (character == std::char_traits<char>::eof()) {
        return false;
    }
    for (; character != '\n' && character != std::char_traits<char>::eof();
         character = in.sbumpc()) {
        if (character == '\0') {
            throw zeroByte();
        }
        // One byte more than a name may take, for the carriage return of a CR LF line end.
        if (line.size() > longest) {
            throw tooLong("the line", longest);
        }
        line += static_cast<char>(character);
    }
    if (line.size() > longest && !line.ends_with('\r')) {
        throw tooLong("the line", longest);
    }
    return true;
}

SkillRow skillOfText(std::string& line, std::uint64_t record) {
    // A carriage return in a name is written \r, so one at the end is a CR LF line end and any
    // other one a line end of a system that ends lines with CR alone.
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    if (line.find('\r') != std::string::npos) {
        throw badLine(
            "a carriage return without a line feed after it: lines end in LF or CR LF, not in "
            "CR alone, and a carriage return in a name is written \\r");
    }
    return skillOfLine(line, record);
}

}  // namespace

void readTextTable(std::istream& in, SkillTableBuilder& table, std::size_t longest) {
    std::string line;
    std::uint64_t number = 1;
    const SkillTableBuilder::Place where = [&] { return "line " + std::to_string(number); };
    for (;; ++number) {
        try {
            const bool read = failingWhenMemoryRunsOut([&] {
                if (!nextLine(*in.rdbuf(), line, longest)) {
                    return false;
                }
                table.add(skillOfText(line, table.nextRecord()), where);
                return true;
            });
            if (!read) {
                return;
            }
        } catch (const Failure& failure) {
            throw failure.within(where());
        }
    }
}

}  // namespace quorrel::cli
