#pragma once

#include <string>

#include "Win32Api.h"
#include "runtime/system/WideTextWindows.h"

namespace quorrel::win32 {

// The whole text of a window or control, as it stands at this moment.
std::wstring windowText(HWND window);

}  // namespace quorrel::win32
