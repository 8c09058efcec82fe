#pragma once

#include "Win32Api.h"

namespace quorrel::win32 {

// Hands one message from the queue to the window's keyboard interface first (Tab between the
// controls, Space on the focused button), then to the window it is for.
void dispatchMessage(HWND window, MSG& message);

// Dispatches messages until the quit message arrives; returns its exit code.
int runMessageLoop(HWND window);

}  // namespace quorrel::win32
