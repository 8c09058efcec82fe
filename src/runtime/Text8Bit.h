#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quorrel {

// Converts Windows-1252 text to UTF-8, one character per byte; a zero byte gives a zero character
// and the five bytes the code page leaves unassigned become the control characters of the same
// value. On Windows the system's code page conversion does the work, on other systems a table.
std::string textFrom8Bit(std::span<const std::uint8_t> bytes);

}  // namespace quorrel
