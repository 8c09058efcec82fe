#include "BalloonTip.h"

#include "TooltipWindow.h"

namespace quorrel::win32 {
namespace {

// How wide the balloon grows before it wraps its text, in pixels at 96 dpi.
constexpr int kWidestAt96Dpi = 280;

}  // namespace

BalloonTip::BalloonTip(HWND owner)
    : owner_(owner), tip_(createTooltipWindow(owner, TTS_BALLOON, "the window's balloon tip")) {
    TTTOOLINFOW tracked = tool();
    SendMessageW(window(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tracked));
}

// One tool, placed by hand where it points.
TTTOOLINFOW BalloonTip::tool() const {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(owner_);
    tool.lpszText = const_cast<wchar_t*>(text_.c_str());
    return tool;
}

// Points at the middle of the control's bottom edge, as the system's own balloons do, and wraps a
// long reason rather than running off the window.
void BalloonTip::show(HWND control, const std::wstring& title, const std::wstring& text) {
    hide();
    text_ = text;
    TTTOOLINFOW tracked = tool();
    SendMessageW(window(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tracked));
    SendMessageW(window(), TTM_SETMAXTIPWIDTH, 0,
                 MulDiv(kWidestAt96Dpi, static_cast<int>(GetDpiForWindow(control)), 96));
    SendMessageW(window(), TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(title.c_str()));
    RECT bounds{};
    GetWindowRect(control, &bounds);
    SendMessageW(window(), TTM_TRACKPOSITION, 0,
                 MAKELPARAM((bounds.left + bounds.right) / 2, bounds.bottom));
    SendMessageW(window(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tracked));
}

void BalloonTip::hide() {
    TTTOOLINFOW tracked = tool();
    SendMessageW(window(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tracked));
}

}  // namespace quorrel::win32
