#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "CodePage.h"

namespace quorrel {

// Converts 8-bit text in a code page, the system's unless another is given, to UTF-8, one
// character for each character of the code page; a zero byte gives a zero character. The bytes
// Windows-1252 and other code pages leave unassigned from 0x80 to 0x9F become the control
// characters of the same value, as Windows converts them, and a byte or pair of bytes that is no
// character of the code page becomes U+FFFD. On Windows the system's conversion does the work
// (CodePageConversionWindows.cpp); on other systems our own table for Windows-1252 and iconv for
// the rest (CodePageConversionPosix.cpp). Throws a read-error failure ("names cannot be read in
// Windows-932: ...") when this system cannot convert the code page.
std::string textFrom8Bit(std::span<const std::uint8_t> bytes,
                         CodePage codePage = CodePage::ofSystem());

// The exact inverse of textFrom8Bit: UTF-8 text to the code page's bytes, such that textFrom8Bit
// gives the text back; the five control characters U+0081, U+008D, U+008F, U+0090 and U+009D go
// back to the bytes Windows-1252 leaves unassigned, so every byte string of a single-byte code page
// survives the two conversions. Throws a bad-input failure whose description, a predicate for the
// caller to put a subject in front of ("holds U+4E2D, which Windows-1252 cannot hold", "is not
// valid UTF-8"), names the first character the code page cannot hold; never puts a '?' or a
// look-alike in a character's place.
std::string textTo8Bit(std::string_view utf8, CodePage codePage = CodePage::ofSystem());

// The same bytes when the code page holds the text; nothing when it cannot hold some character of
// it, or not so that it reads back the same. Throws a bad-input failure ("is not valid UTF-8")
// only for text that is not UTF-8.
std::optional<std::string> textTo8BitIfHeld(std::string_view utf8, CodePage codePage);

// Whether `bytes`, read as `text` (textFrom8Bit gave it), would be written back as other bytes: in
// a double-byte code page some characters have a second spelling (932 has 398 such pairs, 950 has
// 10), and textTo8Bit always writes the first. False where the code page cannot hold the text.
bool writtenBackOtherwise(std::span<const std::uint8_t> bytes, std::string_view text,
                          CodePage codePage);

}  // namespace quorrel
