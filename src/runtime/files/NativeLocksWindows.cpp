#include "NativeFileSystem.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/system/InterruptionsHeld.h"
#include "runtime/system/SystemMessageWindows.h"
#include "runtime/system/UniqueHandleWindows.h"
#include "runtime/system/WideTextWindows.h"
#include "runtime/system/WindowsApi.h"

namespace quorrel {
namespace {

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

std::unique_ptr<HeldLock> NativeFileSystem::lock(const std::string& local,
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
            throw Failure(FailureKind::WriteError,
                          "cannot lock " + inQuotes(local) + ": " + systemMessage(error));
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

LockState NativeFileSystem::lockState(const std::string& local) noexcept {
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

}  // namespace quorrel
