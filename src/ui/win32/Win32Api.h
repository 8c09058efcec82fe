#pragma once

// The Windows API as the Win32 front end uses it: the W functions only (UNICODE is defined by the
// build), the controls of common controls 6 and the per-monitor DPI calls of Windows 10.
#include "runtime/system/WindowsApi.h"
// windows.h first: the controls' header needs its types.
#include <commctrl.h>
