#include <exception>

#include "ComApartment.h"
#include "ControlClasses.h"
#include "Form1.h"
#include "Form1Layout.h"
#include "MessageLoop.h"
#include "Win32Api.h"
#include "WindowText.h"

namespace {

int runQuorrel() {
    quorrel::win32::registerControlClasses();
    const quorrel::win32::ComApartment screenReadersHearUs;

    quorrel::win32::Form1 form1;
    form1.show();
    return quorrel::win32::runMessageLoop(form1.window());
}

void showStartFailure(const char* reason) noexcept {
    try {
        MessageBoxW(nullptr, quorrel::wideFromUtf8(reason).c_str(),
                    quorrel::wideFromUtf8(quorrel::form1::kCaption).c_str(), MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxW(nullptr, L"Quorrel could not start.", L"Quorrel", MB_OK | MB_ICONERROR);
    }
}

}  // namespace

// The program takes no command line. Whatever stops it is shown before it ends.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        return runQuorrel();
    } catch (const std::exception& failure) {
        showStartFailure(failure.what());
    } catch (...) {
        showStartFailure("an unexpected error");
    }
    return 1;
}
