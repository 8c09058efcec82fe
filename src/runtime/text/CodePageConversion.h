#pragma once

// What each platform provides for writing 8-bit text, beside its textFrom8Bit:
// CodePageConversionWindows.cpp through the system's conversion functions,
// CodePageConversionPosix.cpp through iconv and tables. Text8Bit builds its checks on it.

#include <optional>
#include <string>
#include <string_view>

#include "CodePage.h"

namespace quorrel {

// Valid UTF-8 text as the code page's bytes, never with a substitute in a character's place; none
// when the code page has no bytes for some character. Throws a bad-input failure whose description
// is a predicate ("cannot be written in Windows-932: ...") when this system cannot convert the
// code page.
std::optional<std::string> encodeThrough(CodePage codePage, std::string_view utf8);

}  // namespace quorrel
