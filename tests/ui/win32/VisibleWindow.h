#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "Win32Api.h"

namespace quorrel::win32 {

// The top-level window with this caption once it is visible, or null when none is within
// `patience`: a program started by a test program shows it.
inline HWND waitForVisibleWindow(const std::wstring& caption, std::chrono::seconds patience) {
    const auto until = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < until) {
        const HWND window = FindWindowW(nullptr, caption.c_str());
        if (window != nullptr && IsWindowVisible(window)) {
            return window;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return nullptr;
}

}  // namespace quorrel::win32
