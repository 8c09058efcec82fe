#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quorrel {

// Converts Windows-1252 text to UTF-8, one character per byte; a zero byte gives a zero character
// and the five bytes the code page leaves unassigned become the control characters of the same
// value. On Windows the system's code page conversion does the work, on other systems a table.
std::string textFrom8Bit(std::span<const std::uint8_t> bytes);

// The exact inverse of textFrom8Bit: UTF-8 text to Windows-1252 bytes, the five control
// characters U+0081, U+008D, U+008F, U+0090 and U+009D back to the unassigned bytes of the same
// value, so every byte string survives the two conversions. Throws a bad-input failure whose
// description, a predicate for the caller to put a subject in front of ("holds U+4E2D, which
// Windows-1252 cannot hold", "is not valid UTF-8"), names the first character the code page
// cannot hold; never puts a '?' in a character's place. The same table does the work on every
// system.
std::string textTo8Bit(std::string_view utf8);

}  // namespace quorrel
