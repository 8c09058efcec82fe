// Shows the window, as quorrel.exe does, for a screenshot of a moment a person would otherwise
// have to bring about: files dropped on a path field (as Explorer drops them), then "Get" clicked
// if asked. Leaves the window open for SECONDS, then ends. Used by scripts/windows-screenshot.
//
//   quorrel-form1-stage SECONDS [--drop-on txtPath|txtPathIdx PATH...] [--get]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ComApartment.h"
#include "ControlClasses.h"
#include "ControlIds.h"
#include "ExplorerDrop.h"
#include "Form1.h"
#include "Form1Layout.h"
#include "MessageLoop.h"
#include "Win32Api.h"

namespace {

using quorrel::form1::ControlId;
using quorrel::win32::controlIdOf;

struct Stage {
    int seconds = 0;
    ControlId dropOn = ControlId::txtPath;
    std::vector<std::wstring> dropped;
    bool get = false;
};

void handleMessagesFor(HWND window, std::chrono::seconds time) {
    const auto until = std::chrono::steady_clock::now() + time;
    MSG message{};
    while (std::chrono::steady_clock::now() < until) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            quorrel::win32::dispatchMessage(window, message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    Stage stage;
    if (arguments.empty()) {
        std::fprintf(stderr,
                     "usage: quorrel-form1-stage SECONDS [--drop-on FIELD PATH...] [--get]\n");
        return 2;
    }
    stage.seconds = std::stoi(arguments[0]);
    for (std::size_t at = 1; at < arguments.size(); ++at) {
        if (arguments[at] == L"--get") {
            stage.get = true;
        } else if (arguments[at] == L"--drop-on" && at + 1 < arguments.size()) {
            stage.dropOn =
                arguments[++at] == L"txtPathIdx" ? ControlId::txtPathIdx : ControlId::txtPath;
        } else {
            stage.dropped.push_back(arguments[at]);
        }
    }

    quorrel::win32::registerControlClasses();
    const quorrel::win32::ComApartment apartment;
    quorrel::win32::Form1 form1;
    form1.show();
    handleMessagesFor(form1.window(), std::chrono::seconds(1));
    if (!stage.dropped.empty()) {
        SendMessageW(GetDlgItem(form1.window(), controlIdOf(stage.dropOn)), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(quorrel::win32::explorerDrop(stage.dropped)), 0);
    }
    if (stage.get) {
        SendMessageW(GetDlgItem(form1.window(), controlIdOf(ControlId::cmdGet)), BM_CLICK, 0, 0);
    }
    handleMessagesFor(form1.window(), std::chrono::seconds(stage.seconds));
    return 0;
}
