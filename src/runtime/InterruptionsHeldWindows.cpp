#include "InterruptionsHeld.h"
#include "WindowsApi.h"

namespace quorrel {

InterruptionsHeld::InterruptionsHeld() {
    SetConsoleCtrlHandler(nullptr, TRUE);
}

InterruptionsHeld::~InterruptionsHeld() {
    SetConsoleCtrlHandler(nullptr, FALSE);
}

}  // namespace quorrel
