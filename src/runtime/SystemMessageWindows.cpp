#include "SystemMessage.h"
#include "WideText.h"
#include "WindowsApi.h"

namespace quorrel {

std::string systemMessage(unsigned long error) {
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    if (length == 0 || message == nullptr) {
        return "system error " + std::to_string(error);
    }
    std::string reason = utf8FromWide(std::wstring_view(message, length));
    LocalFree(message);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == '.' || reason.back() == ' ')) {
        reason.pop_back();
    }
    return reason;
}

}  // namespace quorrel
