#pragma once

#include "Form1Layout.h"

namespace quorrel::win32 {

// The control identifiers of the Win32 Form1, by which its controls are found (GetDlgItem) and its
// button's clicks arrive. They keep clear of IDOK and IDCANCEL (1 and 2), which the dialog keys
// Enter and Esc send, so that neither key presses "Get".
constexpr int controlIdOf(form1::ControlId id) {
    return 101 + static_cast<int>(id);
}

}  // namespace quorrel::win32
