#include "SystemMessageWindows.h"

#include <memory>

#include "WideTextWindows.h"
#include "WindowsApi.h"

namespace quorrel {
namespace {

// Gives back the memory the system allocated for a message.
struct LocalFreer {
    void operator()(wchar_t* text) const noexcept { LocalFree(text); }
};

}  // namespace

std::string systemMessage(unsigned long error) {
    wchar_t* allocated = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&allocated), 0, nullptr);
    // Owned at once, so that the conversion below running out of memory does not leak it.
    const std::unique_ptr<wchar_t, LocalFreer> message(allocated);
    if (length == 0 || !message) {
        return "system error " + std::to_string(error);
    }
    std::string reason = utf8FromWide(std::wstring_view(message.get(), length));
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == '.' || reason.back() == ' ')) {
        reason.pop_back();
    }
    return reason;
}

}  // namespace quorrel
