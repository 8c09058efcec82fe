#include <atomic>

#include "InterruptionsHeld.h"
#include "WindowsApi.h"

namespace quorrel {
namespace {

// The console event kept, plus one; 0 for none. Windows calls the handler on a thread of its own.
std::atomic<DWORD> requested{0};

BOOL WINAPI keepRequest(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        // Closing the console or logging off ends the program whatever a handler says.
        return FALSE;
    }
    DWORD none = 0;
    requested.compare_exchange_strong(none, event + 1);
    return TRUE;
}

}  // namespace

InterruptionsHeld::InterruptionsHeld() {
    requested = 0;
    SetConsoleCtrlHandler(keepRequest, TRUE);
}

InterruptionsHeld::~InterruptionsHeld() {
    SetConsoleCtrlHandler(keepRequest, FALSE);
}

std::optional<std::string> interruptionRequested() {
    switch (requested.load()) {
        case 0:
            return std::nullopt;
        case CTRL_C_EVENT + 1:
            return "Ctrl+C";
        default:
            return "Ctrl+Break";
    }
}

bool interruptionRequestedWithin(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
    return requested.load() != 0;
}

void endAsInterruptionRequested() {
    if (requested.load() != 0) {
        // What a console program that Ctrl+C ends exits with.
        ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
    }
}

}  // namespace quorrel
