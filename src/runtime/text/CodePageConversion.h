#pragma once

// What each platform provides for converting 8-bit text: CodePageConversionWindows.cpp through the
// system's conversion functions, CodePageConversionPosix.cpp through iconv and tables. Text8Bit
// builds its checks on these two.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "CodePage.h"

namespace quorrel {

// The bytes as UTF-8 text, one character for each character of the code page; a zero byte gives a
// zero character. A byte that the code page leaves unassigned from 0x80 to 0x9F becomes the
// control character of the same value, as Windows converts them, and a byte or a pair of bytes
// that is no character of the code page becomes U+FFFD. Throws a read-error failure ("names
// cannot be read in Windows-932: ...") when this system cannot convert the code page.
std::string decodeThrough(CodePage codePage, std::span<const std::uint8_t> bytes);

// Valid UTF-8 text as the code page's bytes, never with a substitute in a character's place; none
// when the code page has no bytes for some character. Throws a bad-input failure whose description
// is a predicate ("cannot be written in Windows-932: ...") when this system cannot convert the
// code page.
std::optional<std::string> encodeThrough(CodePage codePage, std::string_view utf8);

}  // namespace quorrel
