#include "WindowsNames.h"
#include "runtime/system/WideTextWindows.h"
#include "runtime/system/WindowsApi.h"

namespace quorrel {

std::string upperCaseAsWindowsNames(std::string_view name) {
    std::wstring wide = wideFromUtf8(name);
    if (!wide.empty()) {
        CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    }
    return utf8FromWide(wide);
}

}  // namespace quorrel
