#pragma once

// Windows only: the system's W functions take UTF-16, everything else here is UTF-8.

#include <string>
#include <string_view>

namespace quorrel {

// UTF-8 to UTF-16 and back. Malformed input becomes U+FFFD rather than failing. A text longer
// than the system's conversion calls can count is refused with std::bad_alloc, as the allocator
// would refuse it.
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);

}  // namespace quorrel
