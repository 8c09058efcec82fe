#include "MessageLoop.h"

namespace quorrel::win32 {

void dispatchMessage(HWND window, MSG& message) {
    if (!IsDialogMessageW(window, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int runMessageLoop(HWND window) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        dispatchMessage(window, message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace quorrel::win32
