#include <algorithm>
#include <string>
#include <utility>

#include "NativeFileSystem.h"
#include "runtime/base/Failure.h"
#include "runtime/system/SystemMessageWindows.h"
#include "runtime/system/UniqueHandleWindows.h"
#include "runtime/system/WideTextWindows.h"
#include "runtime/system/WindowsApi.h"

namespace quorrel {
namespace {

// A file opened for reading, which owns its handle.
class WindowsFile final : public ReadableFile {
  public:
    WindowsFile(UniqueHandle handle, std::string name)
        : handle_(std::move(handle)), name_(std::move(name)) {}

    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
        std::size_t total = 0;
        while (total < into.size()) {
            const std::uint64_t at = offset + total;
            OVERLAPPED where{};
            where.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
            where.OffsetHigh = static_cast<DWORD>(at >> 32);
            const auto wanted =
                static_cast<DWORD>(std::min<std::size_t>(into.size() - total, 1u << 30));
            DWORD got = 0;
            if (!ReadFile(handle_.get(), into.data() + total, wanted, &got, &where)) {
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

  private:
    UniqueHandle handle_;
    std::string name_;
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

std::unique_ptr<ReadableFile> NativeFileSystem::openForReading(const LocalPath& file) {
    const std::wstring widePath = wideFromUtf8(file.local);
    UniqueHandle handle(CreateFileW(widePath.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        const DWORD error = GetLastError();
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + file.quoted() + ": " + refusalOf(widePath, error));
    }
    // Devices such as NUL or CON and pipes open like files but hold no fixed bytes.
    if (GetFileType(handle.get()) != FILE_TYPE_DISK) {
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + file.quoted() + ": it is a device or a pipe, not a file");
    }
    return std::make_unique<WindowsFile>(std::move(handle), file.quoted());
}

// Each file is opened in an object of its own here, as before.
std::unique_ptr<ReadableFile> NativeFileSystem::reopenForReading(
    const LocalPath& file, std::unique_ptr<ReadableFile> spare) {
    spare.reset();
    return openForReading(file);
}

}  // namespace quorrel
