#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ComApartment.h"
#include "ControlClasses.h"
#include "Form1.h"
#include "Form1Layout.h"
#include "MessageLoop.h"
#include "Win32Api.h"
#include "WindowText.h"

// After windows.h: its types first.
#include <shellapi.h>

namespace {

int runQuorrel() {
    quorrel::win32::registerControlClasses();
    const quorrel::win32::ComApartment screenReadersHearUs;

    quorrel::win32::Form1 form1;
    form1.show();
    return quorrel::win32::runMessageLoop(form1.window());
}

constexpr std::string_view kHelp =
    "Usage: quorrel [/? | --help | --version]\n"
    "Shows the skill table of a game client's skills.idx and skills.mul.\n"
    "\n"
    "Type the paths of skills.mul and skills.idx into the two fields, or drop both files, or the\n"
    "folder that holds them, onto a field, then click \"Get\". The demo folder beside quorrel.exe\n"
    "holds a table to try. quorrel-dump.exe prints the same table for scripts, and\n"
    "quorrel-pack.exe writes one back.\n"
    "\n"
    "Options:\n"
    "  /?, -h, --help  Shows this help.\n"
    "  -v, --version   Shows the version.\n";

// What the command line asks for instead of the window: the help or the version; nothing for a
// plain start. Any other argument is left alone, as the window takes its paths from its fields.
std::optional<std::string> answerAskedFor() {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    for (int i = 1; arguments && i < count; ++i) {
        const std::wstring_view argument = arguments.get()[i];
        if (argument == L"/?" || argument == L"-h" || argument == L"--help") {
            return std::string(kHelp);
        }
        if (argument == L"-v" || argument == L"--version") {
            return std::string("quorrel ") + QUORREL_VERSION + "\n";
        }
    }
    return std::nullopt;
}

// A program of the Windows subsystem has no console: the text goes to standard output where its
// caller redirected that to a file or a pipe (quorrel /? > help.txt), and into a message box
// otherwise.
void show(const std::string& text) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const DWORD type =
        out == nullptr || out == INVALID_HANDLE_VALUE ? FILE_TYPE_UNKNOWN : GetFileType(out);
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
        DWORD written = 0;
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    MessageBoxW(nullptr, quorrel::wideFromUtf8(text).c_str(),
                quorrel::wideFromUtf8(quorrel::form1::kCaption).c_str(),
                MB_OK | MB_ICONINFORMATION);
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

// The program takes no paths on its command line, only the help and the version. Whatever stops
// it is shown before it ends.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        if (const auto answer = answerAskedFor()) {
            show(*answer);
            return 0;
        }
        return runQuorrel();
    } catch (const std::exception& failure) {
        showStartFailure(failure.what());
    } catch (...) {
        showStartFailure("an unexpected error");
    }
    return 1;
}
