// Starts quorrel.exe as a user would, waits for its window, clicks "Get" and prints the items the
// list then shows, one "[x] Name" or "[ ] Name" line each in UTF-8, then closes the window. How
// long the window took to show goes to standard error. Used by scripts/windows-test; given a
// number of seconds, it leaves the window open that long before closing it, for a screenshot.
//
//   quorrel-click-get PATH_OF_QUORREL_EXE [SECONDS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "ControlIds.h"
#include "Form1Layout.h"
#include "VisibleWindow.h"
#include "Win32Api.h"
#include "WindowText.h"
#include "runtime/system/UniqueHandleWindows.h"

namespace {

using quorrel::utf8FromWide;
using quorrel::wideFromUtf8;
using quorrel::form1::ControlId;
using quorrel::win32::controlIdOf;
using quorrel::win32::waitForVisibleWindow;

using Handle = quorrel::UniqueHandle;

// Memory inside the other process, for the list-view calls that fill in a structure.
class RemoteBuffer {
  public:
    RemoteBuffer(HANDLE process, std::size_t size)
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() {
        if (address_ != nullptr) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
    }
    char* address() const noexcept { return static_cast<char*>(address_); }

  private:
    HANDLE process_;
    void* address_;
};

int fail(const char* message) {
    std::fprintf(stderr, "quorrel-click-get: %s\n", message);
    return 1;
}

std::wstring itemText(HWND list, HANDLE process, int row) {
    constexpr int kLongest = 2048;
    RemoteBuffer remote(process, sizeof(LVITEMW) + kLongest * sizeof(wchar_t));
    LVITEMW item{};
    item.pszText = reinterpret_cast<wchar_t*>(remote.address() + sizeof(LVITEMW));
    item.cchTextMax = kLongest;
    wchar_t text[kLongest] = {};
    if (remote.address() == nullptr ||
        !WriteProcessMemory(process, remote.address(), &item, sizeof(item), nullptr)) {
        return L"?";
    }
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(remote.address()));
    ReadProcessMemory(process, remote.address() + sizeof(LVITEMW), text, sizeof(text), nullptr);
    text[kLongest - 1] = L'\0';
    return text;
}

bool isChecked(HWND list, int row) {
    const auto state = static_cast<UINT>(
        SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        return fail("usage: quorrel-click-get PATH_OF_QUORREL_EXE [SECONDS]");
    }
    const int secondsOpen = argc == 3 ? std::atoi(argv[2]) : 0;
    std::wstring commandLine = L"\"" + wideFromUtf8(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return fail("cannot start quorrel.exe");
    }
    const Handle process(started.hProcess);
    const Handle thread(started.hThread);

    const HWND form =
        waitForVisibleWindow(wideFromUtf8(quorrel::form1::kCaption), std::chrono::seconds(30));
    if (form == nullptr) {
        TerminateProcess(process.get(), 1);
        return fail("no window \"Quorrel by Ketterby\" showed within 30 s");
    }
    const auto shown = std::chrono::steady_clock::now();
    std::fprintf(stderr, "quorrel-click-get: window shown %lld ms after the start\n",
                 static_cast<long long>(
                     std::chrono::duration_cast<std::chrono::milliseconds>(shown - start).count()));

    // The load runs while the button handles the click, so the list is full when it returns.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(form, controlIdOf(ControlId::cmdGet)), BM_CLICK, 0, 0,
                        SMTO_ABORTIFHUNG, 60000, &ignored);
    const HWND list = GetDlgItem(form, controlIdOf(ControlId::lstSkills));
    const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        const std::string line = std::string(isChecked(list, row) ? "[x] " : "[ ] ") +
                                 utf8FromWide(itemText(list, process.get(), row)) + "\n";
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    std::fflush(stdout);

    std::this_thread::sleep_for(std::chrono::seconds(secondsOpen));
    PostMessageW(form, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        return fail("quorrel.exe did not end within 10 s of its window being closed");
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process.get(), &exitCode);
    return exitCode == 0 ? 0 : fail("quorrel.exe ended with a non-zero status");
}
