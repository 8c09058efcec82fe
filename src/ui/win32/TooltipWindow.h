#pragma once

#include "Handles.h"
#include "Win32Api.h"

namespace quorrel::win32 {

// A tooltip control owned by `owner`, shown whether or not the window is active, its texts taken
// as they are (no "&" prefixes), with `extraStyle` beside those. Throws a runtime error naming
// `what` when the system cannot make one.
WindowHandle createTooltipWindow(HWND owner, DWORD extraStyle, const char* what);

}  // namespace quorrel::win32
