#include <algorithm>

#include "NativeFileWriter.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/system/InterruptionsHeld.h"
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

// The lock's file, open with no sharing at all: while it is open, nobody else can open it. It
// goes when the handle is closed, by the system itself when the process ends, however it ends.
class WindowsLock final : public HeldLock {
  public:
    explicit WindowsLock(UniqueHandle file) : file_(std::move(file)) {}

  private:
    UniqueHandle file_;
};

// How long a lock that is busy is waited for between two tries, and how many tries a lock that
// is being removed, which the system refuses to open as if access were denied, may take.
constexpr DWORD kLockRetryMilliseconds = 50;
constexpr int kDeniedLockTries = 100;

}  // namespace

TargetPath NativeFileWriter::locate(const std::string& typed) {
    const LocalPath path = resolver_.resolveForWriting(typed);
    return TargetPath{path.local, path.quoted(), true};
}

std::unique_ptr<WritableFile> NativeFileWriter::createNew(const std::string& local) {
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

void NativeFileWriter::rename(const std::string& from, const std::string& to, bool replace) {
    // Write-through: the call returns only once the rename is on disk.
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveFileExW(wideFromUtf8(from).c_str(), wideFromUtf8(to).c_str(), flags)) {
        throw writeError("cannot rename " + inQuotes(from) + " to " + inQuotes(to), GetLastError());
    }
}

void NativeFileWriter::keep(const std::string& from, const std::string& to) {
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

std::unique_ptr<HeldLock> NativeFileWriter::lock(const std::string& local,
                                                 const std::function<void()>& waiting) {
    const std::wstring path = wideFromUtf8(local);
    for (int denied = 0, busyTries = 0;;) {
        UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (file) {
            return std::make_unique<WindowsLock>(std::move(file));
        }
        const DWORD error = GetLastError();
        const bool busy = error == ERROR_SHARING_VIOLATION ||
                          (error == ERROR_ACCESS_DENIED && ++denied < kDeniedLockTries);
        if (!busy) {
            throw writeError("cannot lock " + inQuotes(local), error);
        }
        // quorrel-dump opens it for a moment to ask whether a run is on: only a lock still held a
        // try later is another run's.
        if (error == ERROR_SHARING_VIOLATION && ++busyTries == 2) {
            waiting();
        }
        if (interruptionRequestedWithin(kLockRetryMilliseconds)) {
            throw Interrupted();
        }
    }
}

LockState NativeFileWriter::lockState(const std::string& local) noexcept {
    try {
        // A run holds its lock file open with no sharing at all, so that no one can open it.
        const UniqueHandle file(CreateFileW(wideFromUtf8(local).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
        if (file) {
            return LockState::Free;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return LockState::Free;
        }
        return error == ERROR_SHARING_VIOLATION ? LockState::Held : LockState::Unknown;
    } catch (...) {
        return LockState::Unknown;
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
