#pragma once

#include <memory>
#include <type_traits>

#include "Win32Api.h"

namespace quorrel::win32 {

struct WindowDestroyer {
    void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
struct FontDeleter {
    void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
struct IconDestroyer {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};

// A top-level window, destroyed with its child windows when the handle goes. Child windows need no
// handle of their own: their parent destroys them.
using WindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

}  // namespace quorrel::win32
