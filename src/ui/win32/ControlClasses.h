#pragma once

#include "Win32Api.h"

namespace quorrel::win32 {

// Registers the classes of the controls Form1 is made of (the list-view among them) for this
// process; a program does it once, before it creates the window.
inline void registerControlClasses() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

}  // namespace quorrel::win32
