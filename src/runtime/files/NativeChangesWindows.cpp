#include <algorithm>

#include "NativeFileSystem.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/system/SystemMessageWindows.h"
#include "runtime/system/UniqueHandleWindows.h"
#include "runtime/system/WideTextWindows.h"
#include "runtime/system/WindowsApi.h"

namespace quorrel {
namespace {

Failure writeError(const std::string& what, DWORD error) {
    return Failure(FailureKind::WriteError, what + ": " + systemMessage(error));
}

class WindowsWritableFile final : public WritableFile {
  public:
    WindowsWritableFile(UniqueHandle file, std::string path)
        : file_(std::move(file)), path_(std::move(path)) {}

    void write(std::span<const std::uint8_t> bytes) override {
        while (!bytes.empty()) {
            const auto wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!WriteFile(file_.get(), bytes.data(), wanted, &written, nullptr)) {
                throw writeError("cannot write " + inQuotes(path_), GetLastError());
            }
            bytes = bytes.subspan(written);
        }
    }

    void flush() override {
        if (!FlushFileBuffers(file_.get())) {
            throw writeError("cannot flush " + inQuotes(path_) + " to disk", GetLastError());
        }
    }

  private:
    UniqueHandle file_;
    std::string path_;
};

}  // namespace

std::unique_ptr<WritableFile> NativeFileSystem::createNew(const std::string& local) {
    UniqueHandle file(CreateFileW(wideFromUtf8(local).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            return nullptr;
        }
        throw writeError("cannot create " + inQuotes(local), error);
    }
    try {
        return std::make_unique<WindowsWritableFile>(std::move(file), local);
    } catch (...) {
        file.reset();
        DeleteFileW(wideFromUtf8(local).c_str());
        throw;
    }
}

void NativeFileSystem::rename(const std::string& from, const std::string& to, bool replace) {
    // Write-through: the call returns only once the rename is on disk.
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveFileExW(wideFromUtf8(from).c_str(), wideFromUtf8(to).c_str(), flags)) {
        throw writeError("cannot rename " + inQuotes(from) + " to " + inQuotes(to), GetLastError());
    }
}

void NativeFileSystem::keep(const std::string& from, const std::string& to) {
    const std::wstring source = wideFromUtf8(from);
    const std::wstring copy = wideFromUtf8(to);
    if (CreateHardLinkW(copy.c_str(), source.c_str(), nullptr)) {
        return;
    }
    // Hard links are missing (FAT, exFAT, some network shares): a copy does as well.
    if (!CopyFileW(source.c_str(), copy.c_str(), TRUE)) {
        throw writeError("cannot keep " + inQuotes(from) + " as " + inQuotes(to), GetLastError());
    }
    UniqueHandle copied(CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    const bool flushed = copied && FlushFileBuffers(copied.get());
    const DWORD error = GetLastError();
    copied.reset();
    if (!flushed) {
        DeleteFileW(copy.c_str());
        throw writeError("cannot flush " + inQuotes(to) + " to disk", error);
    }
}

bool NativeFileSystem::remove(const std::string& local) noexcept {
    try {
        return DeleteFileW(wideFromUtf8(local).c_str()) != 0;
    } catch (...) {
        return false;
    }
}

}  // namespace quorrel
