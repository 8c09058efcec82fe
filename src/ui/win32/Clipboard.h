#pragma once

#include <string_view>

#include "Win32Api.h"

namespace quorrel::win32 {

// Puts `text` on the clipboard as Unicode text, in place of whatever was there, on behalf of
// `owner`; false when the clipboard is held by another program or memory runs out.
bool copyToClipboard(HWND owner, std::wstring_view text);

}  // namespace quorrel::win32
