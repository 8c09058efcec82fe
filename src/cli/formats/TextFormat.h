#pragma once

#include <array>
#include <string_view>

#include "runtime/base/Ascii.h"

// The text format, as both directions have it: one line per skill, "[x] Name" when its check mark
// is set (flag 1 when read back), "[ ] Name" when it is clear (flag 0). A name's control
// characters and backslash are escaped, so that each skill is one line.

namespace quorrel::cli::text {

inline constexpr std::string_view kCheckedMark = "[x] ";
inline constexpr std::string_view kClearMark = "[ ] ";

// The characters escaped by a letter after the backslash. Every other control character (C0, DEL
// and C1) is written "\x" and two hexadecimal digits, which read back as U+0000..U+00FF.
struct NamedEscape {
    char character;
    char letter;
};
inline constexpr std::array<NamedEscape, 4> kNamedEscapes = {
    {{'\n', 'n'}, {'\r', 'r'}, {'\t', 't'}, {'\\', '\\'}}};

inline constexpr char kHexEscapeLetter = 'x';
inline constexpr std::string_view kHexDigits = kLowerHexDigits;

}  // namespace quorrel::cli::text
