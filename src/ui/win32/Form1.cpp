#include "Form1.h"

#include <optional>
#include <stdexcept>
#include <string>

#include "BusyCursor.h"
#include "ControlIds.h"
#include "DroppedFiles.h"
#include "DroppedPaths.h"
#include "FittedFont.h"
#include "GuardedLoad.h"
#include "ResourceIds.h"
#include "runtime/system/WideTextWindows.h"

// After windows.h: its types first.
#include <windowsx.h>

namespace quorrel::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuorrelForm1";

// How long a refused drop's balloon stays, and the timer that takes it away.
constexpr UINT kDropRefusalShownMs = 6000;
constexpr UINT_PTR kDropRefusalTimer = 1;

// Posted to the window as the list gets the focus: the current skill is said after the list.
constexpr UINT kAnnounceListFocus = WM_APP + 1;

// How wide the path fields' tooltip grows before it wraps a path, in pixels at 96 dpi.
constexpr int kTooltipWidth = 480;

// A fixed dialog frame with a caption and a close box; no minimize or maximize box, no sizing.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

struct ControlKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    std::string_view text;
};

ControlKind kindOf(form1::ControlId id) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    switch (id) {
        case form1::ControlId::lstSkills:
            // One column without a header: a plain list whose order is the order of adding. Its
            // items are ours (owner data): the control asks for the rows it draws.
            return {WC_LISTVIEWW,
                    child | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                        LVS_OWNERDATA,
                    WS_EX_CLIENTEDGE, ""};
        case form1::ControlId::cmdGet:
            return {L"BUTTON", child | BS_PUSHBUTTON, 0, form1::kGetCaption};
        // The path fields take files dropped on them.
        case form1::ControlId::txtPath:
            return {L"EDIT", child | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES,
                    form1::kDataPathAtStart};
        case form1::ControlId::txtPathIdx:
            return {L"EDIT", child | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES,
                    form1::kIndexPathAtStart};
    }
    throw std::logic_error("no such control");
}

int scaled(int pixelsAt96, UINT dpi) {
    return MulDiv(pixelsAt96, static_cast<int>(dpi), form1::kDesignDpi);
}

[[noreturn]] void throwCannotCreate(const char* what) {
    throw std::runtime_error(std::string("cannot create ") + what + " (system error " +
                             std::to_string(GetLastError()) + ")");
}

HINSTANCE thisModule() {
    return GetModuleHandleW(nullptr);
}

const wchar_t* registeredClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = thisModule();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throwCannotCreate("the window class");
    }
    return kClassName;
}

WindowHandle createOwner() {
    WindowHandle owner(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                       thisModule(), nullptr));
    if (!owner) {
        throwCannotCreate("the window's owner");
    }
    return owner;
}

WindowHandle createForm(HWND owner, WNDPROC procedure) {
    WindowHandle window(CreateWindowExW(
        kWindowExStyle, registeredClass(procedure), wideFromUtf8(form1::kCaption).c_str(),
        kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, owner, nullptr, thisModule(), nullptr));
    if (!window) {
        throwCannotCreate("the window");
    }
    return window;
}

// The system's message font at `dpi`, the font of dialogs; none when the system gives none.
std::optional<LOGFONTW> messageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        return std::nullopt;
    }
    return metrics.lfMessageFont;
}

// What a screen reader calls each control and what kind of control it says it is.
std::wstring accessibleNameOf(form1::ControlId id) {
    switch (id) {
        case form1::ControlId::lstSkills:
            return wideFromUtf8(form1::kSkillsListName);
        case form1::ControlId::cmdGet:
            return wideFromUtf8(form1::kGetCaption);
        case form1::ControlId::txtPath:
            return wideFromUtf8(form1::kDataPathFieldName);
        case form1::ControlId::txtPathIdx:
            return wideFromUtf8(form1::kIndexPathFieldName);
    }
    return {};
}

LONG accessibleRoleOf(form1::ControlId id) {
    switch (id) {
        case form1::ControlId::lstSkills:
            return ROLE_SYSTEM_LIST;
        case form1::ControlId::cmdGet:
            return ROLE_SYSTEM_PUSHBUTTON;
        case form1::ControlId::txtPath:
        case form1::ControlId::txtPathIdx:
            return ROLE_SYSTEM_TEXT;
    }
    return ROLE_SYSTEM_CLIENT;
}

bool isPathField(form1::ControlId id) {
    return id == form1::ControlId::txtPath || id == form1::ControlId::txtPathIdx;
}

IconHandle programIcon(int metric, UINT dpi) {
    const int size = GetSystemMetricsForDpi(metric, dpi);
    return IconHandle(static_cast<HICON>(LoadImageW(
        thisModule(), MAKEINTRESOURCEW(QUORREL_PROGRAM_ICON), IMAGE_ICON, size, size, 0)));
}

}  // namespace

Form1::Form1()
    : owner_(createOwner()),
      window_(createForm(owner_.get(), &Form1::windowProcedure)),
      controls_(createControls(window_.get())),
      lastFocus_(control(form1::ControlId::lstSkills)),
      skillList_(control(form1::ControlId::lstSkills)),
      pathFields_(window(),
                  {control(form1::ControlId::txtPath), control(form1::ControlId::txtPathIdx)},
                  {accessibleNameOf(form1::ControlId::txtPath),
                   accessibleNameOf(form1::ControlId::txtPathIdx)}),
      dropRefusal_(window()) {
    const HWND list = control(form1::ControlId::lstSkills);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW column{};
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));

    layOut(GetDpiForWindow(window()));
    centreOnMonitor();
    // Messages reach the member functions only from here on, once every member exists.
    SetWindowLongPtrW(window(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    for (const form1::ControlPlace& place : form1::kControls) {
        SetWindowSubclass(control(place.id), &Form1::controlProcedure,
                          static_cast<UINT_PTR>(place.id), reinterpret_cast<DWORD_PTR>(this));
    }
}

// The members go before the windows: from here on no message reaches them, and a screen reader
// that still holds a control's description is told that the control is gone.
Form1::~Form1() {
    SetWindowLongPtrW(window(), GWLP_USERDATA, 0);
    for (const form1::ControlPlace& place : form1::kControls) {
        RemoveWindowSubclass(control(place.id), &Form1::controlProcedure,
                             static_cast<UINT_PTR>(place.id));
    }
    for (const auto& accessible : accessibles_) {
        if (accessible) {
            accessible->disconnect();
        }
    }
}

// Created in tab order: the Tab key follows the order the controls were created in.
std::array<HWND, form1::kControls.size()> Form1::createControls(HWND window) {
    std::array<HWND, form1::kControls.size()> controls{};
    for (const form1::ControlPlace& place : form1::kControls) {
        const ControlKind kind = kindOf(place.id);
        const HWND control = CreateWindowExW(
            kind.exStyle, kind.className, wideFromUtf8(kind.text).c_str(), kind.style, 0, 0, 0, 0,
            window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlIdOf(place.id))),
            thisModule(), nullptr);
        if (control == nullptr) {
            throwCannotCreate("a control of the window");
        }
        controls[static_cast<std::size_t>(place.id)] = control;
    }
    return controls;
}

HWND Form1::control(form1::ControlId id) const {
    return controls_[static_cast<std::size_t>(id)];
}

void Form1::show() {
    ShowWindow(window(), SW_SHOWNORMAL);
    SetFocus(lastFocus_);
}

// Sizes the window and every control for `dpi` and gives them the system's font at that DPI.
void Form1::layOut(UINT dpi) {
    for (const form1::ControlPlace& place : form1::kControls) {
        const form1::Rect pixels = place.pixels();
        SetWindowPos(control(place.id), nullptr, scaled(pixels.left, dpi), scaled(pixels.top, dpi),
                     scaled(pixels.width, dpi), scaled(pixels.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    applyFonts(dpi);

    // The one column fills the list but for its vertical scroll bar, so that no horizontal
    // scroll bar comes with it.
    const HWND list = control(form1::ControlId::lstSkills);
    RECT listClient{};
    GetClientRect(list, &listClient);
    const int columnWidth = listClient.right - GetSystemMetricsForDpi(SM_CXVSCROLL, dpi);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(columnWidth > 0 ? columnWidth : 0, 0));

    fitClientArea(dpi);
    loadIcons(dpi);
    pathFields_.setTooltipWidth(scaled(kTooltipWidth, dpi));
    pathFields_.showEnds();
}

// The system's message font at `dpi` for every control. The path fields hold one line in a
// fixed height: where the font's lines are taller (Windows 10's Segoe UI at 96 dpi), they get the
// same face a little smaller, so that no descender is cut.
void Form1::applyFonts(UINT dpi) {
    const std::optional<LOGFONTW> message = messageFont(dpi);
    FontHandle font(message ? CreateFontIndirectW(&*message) : nullptr);
    const HFONT shown = font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    FontHandle fieldFont;
    if (message) {
        RECT inside{};
        GetClientRect(control(form1::ControlId::txtPath), &inside);
        const LOGFONTW fitted = fittedFont(*message, inside.bottom);
        if (fitted.lfHeight != message->lfHeight) {
            fieldFont.reset(CreateFontIndirectW(&fitted));
        }
    }
    for (const form1::ControlPlace& place : form1::kControls) {
        const HFONT used = isPathField(place.id) && fieldFont ? fieldFont.get() : shown;
        SendMessageW(control(place.id), WM_SETFONT, reinterpret_cast<WPARAM>(used), TRUE);
    }
    // The old fonts go only now that no control uses them.
    font_ = std::move(font);
    fieldFont_ = std::move(fieldFont);
}

// Sizes the window so that its client area is the design's at `dpi`. The frame is worked out for
// that DPI first; where the system draws the frame at another one, the measured difference is
// made good.
void Form1::fitClientArea(UINT dpi) {
    const SIZE client{scaled(form1::kClientPixels.width, dpi),
                      scaled(form1::kClientPixels.height, dpi)};
    RECT outer{0, 0, client.cx, client.cy};
    AdjustWindowRectExForDpi(&outer, kWindowStyle, FALSE, kWindowExStyle, dpi);
    SIZE size{outer.right - outer.left, outer.bottom - outer.top};
    for (int attempt = 0; attempt < 2; ++attempt) {
        SetWindowPos(window(), nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT got{};
        GetClientRect(window(), &got);
        if (got.right == client.cx && got.bottom == client.cy) {
            return;
        }
        size.cx += client.cx - got.right;
        size.cy += client.cy - got.bottom;
    }
}

void Form1::loadIcons(UINT dpi) {
    IconHandle big = programIcon(SM_CXICON, dpi);
    IconHandle small = programIcon(SM_CXSMICON, dpi);
    SendMessageW(window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

void Form1::centreOnMonitor() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(window(), MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        return;
    }
    RECT outer{};
    GetWindowRect(window(), &outer);
    const RECT& work = monitor.rcWork;
    const int left = work.left + ((work.right - work.left) - (outer.right - outer.left)) / 2;
    const int top = work.top + ((work.bottom - work.top) - (outer.bottom - outer.top)) / 2;
    SetWindowPos(window(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::onDpiChanged(UINT dpi, const RECT& suggested) {
    layOut(dpi);
    SetWindowPos(window(), nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The focus comes back to the control that had it when the window was last left.
void Form1::onActivate(bool active) {
    dropRefusal_.hide();
    if (active) {
        SetFocus(lastFocus_);
        return;
    }
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window(), focus)) {
        lastFocus_ = focus;
    }
}

std::string Form1::txtPathText() const {
    return pathFields_.text(control(form1::ControlId::txtPath));
}

void Form1::txtPathTextInto(std::string& text) const {
    text.assign(pathFields_.text(control(form1::ControlId::txtPath)));
}

std::string Form1::txtPathIdxText() const {
    return pathFields_.text(control(form1::ControlId::txtPathIdx));
}

void Form1::cmdGet_Click() {
    // While a load runs, the window handles only messages other programs send it (see
    // whileLoading), and one of them may be a click on the button: it starts no second load.
    if (loading_) {
        return;
    }
    std::optional<std::string> failure;
    {
        const BusyCursor busy;
        loading_ = true;
        failure = loadGuarded(*this, files_);
        loading_ = false;
        // The list learns of the items at the end, once, whether the load ran to its end or not.
        skillList_.publish();
    }
    if (failure) {
        showFailure(wideFromUtf8(failureShown(*failure, *this)));
    }
}

void Form1::whileLoading() {
    // Peeking at sent messages only handles what other threads and programs send, and tells the
    // system the window is alive. Posted messages and input are not even looked at: they wait in
    // the queue, so no click, key or close is taken in the middle of a load, and the mouse moving
    // over the window does not set the busy cursor back.
    MSG message{};
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    RedrawWindow(window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Form1::showFailure(const std::wstring& description) {
    MessageBoxW(window(), description.c_str(), wideFromUtf8(form1::kCaption).c_str(),
                MB_OK | MB_ICONERROR);
}

LRESULT CALLBACK Form1::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // An exception must not cross the system's code that called us.
    try {
        return form->handleMessage(message, wParam, lParam);
    } catch (...) {
        form->reportEscapedException();
        return 0;
    }
}

LRESULT CALLBACK Form1::controlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR form) {
    try {
        const std::optional<LRESULT> handled = reinterpret_cast<Form1*>(form)->handleControlMessage(
            static_cast<form1::ControlId>(id), message, wParam, lParam);
        if (handled) {
            return *handled;
        }
    } catch (...) {
        reinterpret_cast<Form1*>(form)->reportEscapedException();
        return 0;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

// The few messages the window answers for its controls; the rest the controls handle themselves.
std::optional<LRESULT> Form1::handleControlMessage(form1::ControlId id, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    switch (message) {
        case WM_GETOBJECT:
            if (static_cast<LONG>(lParam) == OBJID_CLIENT) {
                const LRESULT answer = onGetObject(id, wParam, lParam);
                if (answer != 0) {
                    return answer;
                }
            }
            return std::nullopt;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (id == form1::ControlId::lstSkills) {
                return onListPress(message, wParam, lParam);
            }
            return std::nullopt;
        // The system says the list has the focus; the current skill is said once that is done.
        case WM_SETFOCUS:
            if (id == form1::ControlId::lstSkills) {
                PostMessageW(window(), kAnnounceListFocus, 0, 0);
            }
            return std::nullopt;
        case WM_DROPFILES:
            if (isPathField(id)) {
                onDrop(id, reinterpret_cast<HDROP>(wParam));
                return 0;
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

// A press on an item's check box toggles its mark, once the list has made the item current. The
// list keeps no marks of its own, so it leaves that to us.
LRESULT Form1::onListPress(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND list = control(form1::ControlId::lstSkills);
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const auto row =
        static_cast<int>(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
    if (row >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
        skillList_.toggle(row);
    }
    return result;
}

LRESULT Form1::onGetObject(form1::ControlId id, WPARAM wParam, LPARAM) {
    auto& accessible = accessibles_[static_cast<std::size_t>(id)];
    if (!accessible) {
        accessible =
            AccessibleControl::create(control(id), accessibleNameOf(id), accessibleRoleOf(id),
                                      id == form1::ControlId::lstSkills ? &skillList_ : nullptr);
    }
    return accessible ? accessible->answer(wParam) : 0;
}

// A drop is taken whole or refused whole; a refusal is said at the field it was dropped on.
void Form1::onDrop(form1::ControlId field, HDROP drop) {
    const form1::DropOutcome outcome = form1::pathsFromDrop(takeDroppedPaths(drop), field);
    if (!outcome.taken()) {
        dropRefusal_.show(control(field), L"Nothing was put into the fields",
                          wideFromUtf8(outcome.refusal));
        SetTimer(window(), kDropRefusalTimer, kDropRefusalShownMs, nullptr);
        return;
    }
    dropRefusal_.hide();
    if (outcome.txtPath) {
        SetWindowTextW(control(form1::ControlId::txtPath), wideFromUtf8(*outcome.txtPath).c_str());
    }
    if (outcome.txtPathIdx) {
        SetWindowTextW(control(form1::ControlId::txtPathIdx),
                       wideFromUtf8(*outcome.txtPathIdx).c_str());
    }
}

void Form1::onCommand(WORD id, WORD code, HWND from) {
    // Only the button's click: Enter and Esc arrive as IDOK and IDCANCEL and do nothing.
    if (id == controlIdOf(form1::ControlId::cmdGet) && code == BN_CLICKED) {
        cmdGet_Click();
        return;
    }
    pathFields_.onFieldCommand(from, code);
}

// Child windows hear of the system's colours and settings only from their parent. A new message
// font (Windows' text size, for one) is taken at once.
void Form1::onSystemChange(UINT message, WPARAM wParam, LPARAM lParam) {
    for (const HWND child : controls_) {
        SendMessageW(child, message, wParam, lParam);
    }
    if (message == WM_SETTINGCHANGE && wParam == SPI_SETNONCLIENTMETRICS) {
        layOut(GetDpiForWindow(window()));
    }
}

LRESULT Form1::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            onSystemChange(message, wParam, lParam);
            return DefWindowProcW(window(), message, wParam, lParam);
        case WM_TIMER:
            if (wParam == kDropRefusalTimer) {
                KillTimer(window(), kDropRefusalTimer);
                dropRefusal_.hide();
            }
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_ACTIVATE:
            onActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_SETFOCUS:
            SetFocus(lastFocus_);
            return 0;
        case kAnnounceListFocus:
            skillList_.announceFocus();
            return 0;
        case WM_CLOSE:
            // The window is the program: closing it ends the message loop, and the window goes
            // with the object that owns it.
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window(), message, wParam, lParam);
    }
}

LRESULT Form1::onNotify(NMHDR& header) {
    if (header.hwndFrom == control(form1::ControlId::lstSkills)) {
        return skillList_.notified(header);
    }
    pathFields_.onNotify(header);
    return 0;
}

void Form1::reportEscapedException() noexcept {
    try {
        showFailure(L"Quorrel met an unexpected error and could not finish what it was doing.");
    } catch (...) {
        MessageBoxW(window(), L"Quorrel met an unexpected error.", L"Quorrel",
                    MB_OK | MB_ICONERROR);
    }
}

}  // namespace quorrel::win32
