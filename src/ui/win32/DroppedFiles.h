#pragma once

#include <string>
#include <vector>

#include "Win32Api.h"

// After windows.h: its types first.
#include <shellapi.h>

namespace quorrel::win32 {

// The paths a drop of files carries (WM_DROPFILES), in UTF-8 and in the order given; the drop's
// memory is released once they are read.
std::vector<std::string> takeDroppedPaths(HDROP drop);

}  // namespace quorrel::win32
