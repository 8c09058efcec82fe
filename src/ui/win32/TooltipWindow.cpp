#include "TooltipWindow.h"

#include <stdexcept>
#include <string>

namespace quorrel::win32 {

WindowHandle createTooltipWindow(HWND owner, DWORD extraStyle, const char* what) {
    WindowHandle tooltip(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                         WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | extraStyle,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                         owner, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!tooltip) {
        throw std::runtime_error(std::string("cannot create ") + what);
    }
    return tooltip;
}

}  // namespace quorrel::win32
