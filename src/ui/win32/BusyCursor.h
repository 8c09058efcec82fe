#pragma once

#include "Win32Api.h"

namespace quorrel::win32 {

// Shows the busy cursor for as long as the object lives. A load runs without handling messages,
// so nothing sets the cursor back in the meantime.
class BusyCursor {
  public:
    BusyCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    ~BusyCursor() { SetCursor(previous_); }

  private:
    HCURSOR previous_;
};

}  // namespace quorrel::win32
