#pragma once

#include "Win32Api.h"

// After windows.h: its types first.
#include <objbase.h>

namespace quorrel::win32 {

// COM on this thread, in the single-threaded apartment of a window's thread, for as long as the
// object lives: the window hands screen readers COM objects. Without it the window works on,
// unheard by screen readers.
class ComApartment {
  public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (initialised_) {
            CoUninitialize();
        }
    }

  private:
    bool initialised_;
};

}  // namespace quorrel::win32
