#pragma once

#include <string>
#include <string_view>

#include "Win32Api.h"

namespace quorrel::win32 {

// UTF-8 to UTF-16 and back, for the W functions. Malformed input becomes U+FFFD rather than
// failing: these texts are shown, not stored.
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);

// The whole text of a window or control, as it stands at this moment.
std::wstring windowText(HWND window);

}  // namespace quorrel::win32
