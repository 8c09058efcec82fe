#include <algorithm>
#include <string>
#include <utility>

#include "Failure.h"
#include "InQuotes.h"
#include "NativeFile.h"
#include "SystemMessage.h"
#include "WideText.h"
#include "WindowsApi.h"

namespace quorrel {
namespace {

// Closes a handle that has not yet been handed to a NativeFile.
class HandleGuard {
  public:
    explicit HandleGuard(HANDLE handle) : handle_(handle) {}
    HandleGuard(const HandleGuard&) = delete;
    HandleGuard& operator=(const HandleGuard&) = delete;
    ~HandleGuard() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    HANDLE get() const noexcept { return handle_; }
    void release() noexcept { handle_ = INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

// Why `path` could not be opened. A folder is refused by the system as "Access is denied", which
// would send the user looking for a permission problem; it is said to be a folder instead.
std::string refusalOf(const std::wstring& path, DWORD error) {
    if (error == ERROR_ACCESS_DENIED) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return "it is a folder, not a file";
        }
    }
    return systemMessage(error);
}

}  // namespace

std::unique_ptr<NativeFile> NativeFile::openForReading(const std::string& path) {
    const std::wstring widePath = wideFromUtf8(path);
    const HANDLE handle = CreateFileW(widePath.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + inQuotes(path) + ": " + refusalOf(widePath, error));
    }
    HandleGuard guard(handle);
    // Devices such as NUL or CON and pipes open like files but hold no fixed bytes.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + inQuotes(path) + ": it is a device or a pipe, not a file");
    }
    // The guard lets go only once the file owns the handle: memory running out for the name or
    // the object must not leak it.
    auto opened = std::make_unique<NativeFile>(guard.get(), inQuotes(path));
    guard.release();
    return opened;
}

NativeFile::NativeFile(Handle handle, std::string name) : handle_(handle), name_(std::move(name)) {}

NativeFile::~NativeFile() {
    CloseHandle(handle_);
}

std::size_t NativeFile::readAt(std::uint64_t offset, std::span<std::uint8_t> into) {
    std::size_t total = 0;
    while (total < into.size()) {
        const std::uint64_t at = offset + total;
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
        where.OffsetHigh = static_cast<DWORD>(at >> 32);
        const auto wanted =
            static_cast<DWORD>(std::min<std::size_t>(into.size() - total, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(handle_, into.data() + total, wanted, &got, &where)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF) {
                break;
            }
            throw Failure(FailureKind::ReadError,
                          "cannot read " + name_ + ": " + systemMessage(error));
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    return total;
}

}  // namespace quorrel
