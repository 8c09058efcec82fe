#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Ascii.h"
#include "Utf8.h"

namespace quorrel {

// Text a list gave (a name, a field, a key, a number), as a message quotes it: in double quotes,
// cut after `longest` characters with "..." after it, so that a field of a million bytes gives a
// line a user can read, and escaped as the text format escapes names: "\n", "\r", "\t", "\\" and
// "\xHH" for the other control characters (C0, DEL and C1) and for a byte that starts no UTF-8
// character, so that a list cannot send the terminal of whoever reads the message a command.
inline constexpr std::size_t kLongestQuotedText = 60;

inline std::string quotedFromList(std::string_view text, std::size_t longest = kLongestQuotedText) {
    const auto hexEscape = [&](std::string& shown, std::uint32_t value) {
        shown += "\\x";
        shown += kLowerHexDigits[(value >> 4) & 0xF];
        shown += kLowerHexDigits[value & 0xF];
    };
    std::string shown = "\"";
    std::size_t characters = 0;
    std::size_t at = 0;
    while (at < text.size() && characters < longest) {
        const std::size_t start = at;
        const std::optional<char32_t> character = nextCodePoint(text, at);
        ++characters;
        if (!character) {
            hexEscape(shown, static_cast<unsigned char>(text[start]));
        } else if (*character == '\n') {
            shown += "\\n";
        } else if (*character == '\r') {
            shown += "\\r";
        } else if (*character == '\t') {
            shown += "\\t";
        } else if (*character == '\\') {
            shown += "\\\\";
        } else if (*character < 0x20 || (*character >= 0x7F && *character <= 0x9F)) {
            hexEscape(shown, *character);
        } else {
            shown.append(text.substr(start, at - start));
        }
    }
    return shown + (at < text.size() ? "...\"" : "\"");
}

}  // namespace quorrel
