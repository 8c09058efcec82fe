#include <algorithm>

#include "Failure.h"
#include "InQuotes.h"
#include "NativeFileWriter.h"
#include "SystemMessage.h"
#include "WideText.h"
#include "WindowsApi.h"

namespace quorrel {
namespace {

Failure writeError(const std::string& what, DWORD error) {
    return Failure(FailureKind::WriteError, what + ": " + systemMessage(error));
}

class WindowsWritableFile final : public WritableFile {
  public:
    WindowsWritableFile(HANDLE handle, std::string path)
        : handle_(handle), path_(std::move(path)) {}
    WindowsWritableFile(const WindowsWritableFile&) = delete;
    WindowsWritableFile& operator=(const WindowsWritableFile&) = delete;
    ~WindowsWritableFile() override { CloseHandle(handle_); }

    void write(std::span<const std::uint8_t> bytes) override {
        while (!bytes.empty()) {
            const auto wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!WriteFile(handle_, bytes.data(), wanted, &written, nullptr)) {
                throw writeError("cannot write " + inQuotes(path_), GetLastError());
            }
            bytes = bytes.subspan(written);
        }
    }

    void flush() override {
        if (!FlushFileBuffers(handle_)) {
            throw writeError("cannot flush " + inQuotes(path_) + " to disk", GetLastError());
        }
    }

  private:
    HANDLE handle_;
    std::string path_;
};

}  // namespace

TargetPath NativeFileWriter::locate(const std::string& typed) {
    return TargetPath{typed, inQuotes(typed)};
}

bool NativeFileWriter::exists(const std::string& local) {
    return GetFileAttributesW(wideFromUtf8(local).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::unique_ptr<WritableFile> NativeFileWriter::createNew(const std::string& local) {
    const HANDLE handle = CreateFileW(wideFromUtf8(local).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            return nullptr;
        }
        throw writeError("cannot create " + inQuotes(local), error);
    }
    try {
        return std::make_unique<WindowsWritableFile>(handle, local);
    } catch (...) {
        CloseHandle(handle);
        DeleteFileW(wideFromUtf8(local).c_str());
        throw;
    }
}

void NativeFileWriter::rename(const std::string& from, const std::string& to, bool replace) {
    // Write-through: the call returns only once the rename is on disk.
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveFileExW(wideFromUtf8(from).c_str(), wideFromUtf8(to).c_str(), flags)) {
        throw writeError("cannot rename " + inQuotes(from) + " to " + inQuotes(to), GetLastError());
    }
}

bool NativeFileWriter::remove(const std::string& local) noexcept {
    try {
        return DeleteFileW(wideFromUtf8(local).c_str()) != 0;
    } catch (...) {
        return false;
    }
}

}  // namespace quorrel
