#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quorrel {

// Converts 8-bit text to UTF-8, one character per byte; a zero byte gives a zero character.
// On Windows the bytes go through the system's 8-bit code page; elsewhere they are read as
// Windows-1252, whose five unassigned bytes become the control characters of the same value.
std::string textFrom8Bit(std::span<const std::uint8_t> bytes);

}  // namespace quorrel
