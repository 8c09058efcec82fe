// Listens to quorrel.exe as a screen reader on Windows does: from another process, through the
// WinEvents it raises (SetWinEventHook, out of context) and the Microsoft Active Accessibility
// objects they lead to. Starts quorrel.exe, drives it with the keyboard alone (the keys posted to
// the control with the focus, as the keyboard would send them), prints the events heard at each
// step with the name, role and state of what each names, and fails when a step is not heard as a
// user needs it. Used by scripts/windows-test, with the demo table at the default paths.
//
//   quorrel-hear-winevents PATH_OF_QUORREL_EXE
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "ComApartment.h"
#include "ControlIds.h"
#include "Form1Layout.h"
#include "VisibleWindow.h"
#include "Win32Api.h"
#include "WindowText.h"
#include "runtime/system/UniqueHandleWindows.h"

// After windows.h: its types first.
#include <oleacc.h>
#include <wrl/client.h>

namespace {

using quorrel::utf8FromWide;
using quorrel::wideFromUtf8;

// What was heard since the last step: one line per event, "focus: NAME (ROLE, STATE, POSITION)".
std::vector<std::string> heard;

std::string textOf(BSTR text) {
    return text != nullptr ? utf8FromWide(std::wstring(text, SysStringLen(text))) : std::string();
}

// How an object is heard: "NAME (ROLE)", as the system names roles, and for a check box whether
// it is checked; for an item of a list, where it stands among them ("12 of 58").
std::string seen(const std::string& name, LONG role, bool checked = false,
                 const std::string& position = {}) {
    wchar_t text[64] = {};
    GetRoleTextW(static_cast<DWORD>(role), text, 64);
    std::string described = name + " (" + utf8FromWide(text);
    if (role == ROLE_SYSTEM_CHECKBUTTON) {
        described += checked ? ", checked" : ", not checked";
    }
    if (!position.empty()) {
        described += ", " + position;
    }
    return described + ")";
}

// Where an item stands, as a screen reader counts the items of a list: an item that is no object
// of its own is its list's child `id`, the first being 1, of as many as the list has children.
std::string positionOf(IAccessible& list, const VARIANT& id) {
    long count = 0;
    if (id.vt != VT_I4 || id.lVal == CHILDID_SELF || list.get_accChildCount(&count) != S_OK) {
        return {};
    }
    return std::to_string(id.lVal) + " of " + std::to_string(count);
}

// What the object an event names says of itself; nothing when it is gone.
std::string describe(HWND window, LONG object, LONG child) {
    Microsoft::WRL::ComPtr<IAccessible> accessible;
    VARIANT id{};
    if (AccessibleObjectFromEvent(window, static_cast<DWORD>(object), static_cast<DWORD>(child),
                                  accessible.GetAddressOf(), &id) != S_OK ||
        accessible == nullptr) {
        return {};
    }
    BSTR name = nullptr;
    accessible->get_accName(id, &name);
    VARIANT role{};
    VARIANT state{};
    accessible->get_accRole(id, &role);
    accessible->get_accState(id, &state);
    std::string described = seen(textOf(name), role.vt == VT_I4 ? role.lVal : 0,
                                 state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_CHECKED) != 0,
                                 positionOf(*accessible.Get(), id));
    SysFreeString(name);
    return described;
}

// Asking an object about itself lets further events in while the answer comes, so each event's
// line is kept in its place before it is asked; an object already gone leaves no line.
void hearOf(const char* what, HWND window, LONG object, LONG child) {
    const std::size_t at = heard.size();
    heard.emplace_back();
    const std::string described = describe(window, object, child);
    heard[at] = described.empty() ? std::string() : what + described;
}

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                      DWORD) {
    if (window == nullptr) {
        return;
    }
    if (object == OBJID_CLIENT && event == EVENT_OBJECT_FOCUS) {
        hearOf("focus: ", window, object, child);
    } else if (object == OBJID_CLIENT && event == EVENT_OBJECT_STATECHANGE &&
               child != CHILDID_SELF) {
        hearOf("state: ", window, object, child);
    }
}

// Hands the hook's events to onEvent until none has come for a while, at most 10 s.
void listenUntilQuiet() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::size_t before = heard.size();
    while (std::chrono::steady_clock::now() < until) {
        MSG message{};
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 400, QS_ALLINPUT) == WAIT_TIMEOUT &&
            heard.size() == before) {
            return;
        }
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        before = heard.size();
    }
}

class Listener {
  public:
    Listener(DWORD thread) : thread_(thread) {}

    // Presses each key at the control that has the focus, then prints and keeps what was heard.
    void step(const char* name, const std::vector<WORD>& keys) {
        heard.clear();
        for (const WORD key : keys) {
            press(key);
        }
        listenUntilQuiet();
        std::printf("%-28s", (std::string(name) + ":").c_str());
        lastHeard_.clear();
        for (const std::string& line : heard) {
            if (!line.empty()) {
                std::printf(" [%s]", line.c_str());
                lastHeard_.push_back(line);
            }
        }
        std::printf("\n");
        std::fflush(stdout);
    }

    // Notes a problem unless the last step heard a line that starts with `wanted`; with `last`,
    // unless the last focus it heard is `wanted`.
    void expect(const char* what, const std::string& wanted, bool last = false) {
        std::string lastFocus;
        bool found = false;
        for (const std::string& line : lastHeard_) {
            lastFocus = line.rfind("focus: ", 0) == 0 ? line : lastFocus;
            found = found || line.rfind(wanted, 0) == 0;
        }
        if (last ? lastFocus != wanted : !found) {
            problems_.push_back(std::string(what) + ": " + wanted);
        }
    }

    // The last step heard nothing that starts with `unwanted`.
    void refuse(const char* what, const std::string& unwanted) {
        for (const std::string& line : lastHeard_) {
            if (line.rfind(unwanted, 0) == 0) {
                problems_.push_back(std::string(what) + ": " + line);
            }
        }
    }

    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(thread_, &info) ? info.hwndFocus : nullptr;
    }

    int report() const {
        if (problems_.empty()) {
            std::printf("hear-winevents: every step was heard as a user needs it\n");
            return 0;
        }
        std::printf("hear-winevents: NOT MET:\n");
        for (const std::string& problem : problems_) {
            std::printf("  %s\n", problem.c_str());
        }
        return 1;
    }

  private:
    void press(WORD key) const {
        const HWND target = focus();
        const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
        PostMessageW(target, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
        PostMessageW(target, WM_KEYUP, key,
                     static_cast<LPARAM>(0xC0000001u | (static_cast<DWORD>(scan) << 16)));
        listenUntilQuiet();
    }

    DWORD thread_;
    std::vector<std::string> lastHeard_;
    std::vector<std::string> problems_;
};

int fail(const char* message) {
    std::fprintf(stderr, "quorrel-hear-winevents: %s\n", message);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return fail("usage: quorrel-hear-winevents PATH_OF_QUORREL_EXE");
    }
    const quorrel::win32::ComApartment apartment;
    std::wstring commandLine = L"\"" + wideFromUtf8(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    // Suspended until the hook listens, so that the window's first focus is heard too.
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &started)) {
        return fail("cannot start quorrel.exe");
    }
    const quorrel::UniqueHandle process(started.hProcess);
    const quorrel::UniqueHandle thread(started.hThread);
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, onEvent,
                                               started.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
    ResumeThread(started.hThread);
    const HWND form = quorrel::win32::waitForVisibleWindow(wideFromUtf8(quorrel::form1::kCaption),
                                                           std::chrono::seconds(30));
    if (hook == nullptr || form == nullptr) {
        TerminateProcess(process.get(), 1);
        return fail("no window \"Quorrel by Ketterby\" to listen to");
    }
    Listener listener(GetWindowThreadProcessId(form, nullptr));

    const std::string list = "focus: " + seen("Skills", ROLE_SYSTEM_LIST);
    const std::string get = "focus: " + seen("Get", ROLE_SYSTEM_PUSHBUTTON);
    const std::string first = seen("Lanternwright", ROLE_SYSTEM_CHECKBUTTON, true, "1 of 58");
    // Wine says nothing of the first focus a program's window takes; Windows does.
    listener.step("window shown", {});
    listener.step("Tab", {VK_TAB});
    listener.expect("Tab to Get", get, true);
    listener.step("Tab", {VK_TAB});
    listener.expect("Tab to the data field",
                    "focus: " + seen("Skill data file (skills.mul)", ROLE_SYSTEM_TEXT), true);
    listener.step("Tab", {VK_TAB});
    listener.expect("Tab to the index field",
                    "focus: " + seen("Skill index file (skills.idx)", ROLE_SYSTEM_TEXT), true);
    listener.step("Tab", {VK_TAB});
    listener.expect("Tab to the empty list", list, true);
    listener.step("Tab", {VK_TAB});
    listener.expect("Tab back to Get", get, true);

    listener.step("Space on Get", {VK_SPACE});
    listener.refuse("after Get by Space, a skill has the focus while the keys stay on Get",
                    "focus: Lanternwright");
    listener.step("Tab Tab Tab into the list", {VK_TAB, VK_TAB, VK_TAB});
    listener.expect("entering the list names its current skill", "focus: " + first, true);
    listener.step("Down", {VK_DOWN});
    listener.expect(
        "Down", "focus: " + seen("Cloud Reading", ROLE_SYSTEM_CHECKBUTTON, false, "2 of 58"), true);
    listener.step("Up", {VK_UP});
    listener.expect("Up", "focus: " + first, true);
    listener.step("Down 11 times", std::vector<WORD>(11, VK_DOWN));
    listener.expect("Down to a middle skill",
                    "focus: " + seen("Tide Lore", ROLE_SYSTEM_CHECKBUTTON, true, "12 of 58"), true);
    listener.step("End", {VK_END});
    listener.expect(
        "End", "focus: " + seen("Cairn Building", ROLE_SYSTEM_CHECKBUTTON, true, "58 of 58"), true);
    listener.step("Home", {VK_HOME});
    listener.expect("Home", "focus: " + first, true);
    listener.step("Space on a skill", {VK_SPACE});
    listener.expect("Space on a checked skill",
                    "state: " + seen("Lanternwright", ROLE_SYSTEM_CHECKBUTTON, false, "1 of 58"));

    listener.step("Tab to Get, Enter", {VK_TAB, VK_RETURN});
    listener.expect("Tab to Get", get);
    listener.refuse("after Get by Enter, a skill has the focus while the keys stay on Get",
                    "focus: Lanternwright");
    listener.step("Tab Tab Tab into the list", {VK_TAB, VK_TAB, VK_TAB});
    listener.expect("after Get by Enter, the mark Space cleared is back", "focus: " + first, true);

    listener.step("Tab Tab to the data field", {VK_TAB, VK_TAB});
    SendMessageW(listener.focus(), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"c:\\no\\such\\skills.mul"));
    listener.step("Tab Tab Tab to Get, Space", {VK_TAB, VK_TAB, VK_TAB, VK_SPACE});
    listener.expect("a failed load: its message box's button", "focus: OK (");
    listener.step("Enter on the message's OK", {VK_RETURN});
    listener.expect("the message closed: the focus is back on Get", get, true);

    UnhookWinEvent(hook);
    PostMessageW(form, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        return fail("quorrel.exe did not end within 10 s of its window being closed");
    }
    return listener.report();
}
