#pragma once

#include <string>

#include "Handles.h"
#include "Win32Api.h"

namespace quorrel::win32 {

// A balloon that points at a control and says in a few words why something did not happen there,
// as Windows does for a refused entry. It stays until hide().
class BalloonTip {
  public:
    // The balloon belongs to `owner`'s window and goes with this object. Throws
    // std::runtime_error when Windows refuses to create it.
    explicit BalloonTip(HWND owner);

    void show(HWND control, const std::wstring& title, const std::wstring& text);
    void hide();

    HWND window() const noexcept { return tip_.get(); }

  private:
    TTTOOLINFOW tool() const;

    HWND owner_;
    WindowHandle tip_;
    std::wstring text_;
};

}  // namespace quorrel::win32
