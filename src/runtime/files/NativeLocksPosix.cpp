#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "NativeFileSystem.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/system/InterruptionsHeld.h"
#include "runtime/system/UniqueDescriptorPosix.h"

namespace quorrel {
namespace {

Failure cannotLock(const std::string& local, int reason) {
    return Failure(FailureKind::WriteError,
                   "cannot lock " + inQuotes(local) + ": " + std::strerror(reason));
}

class PosixLock final : public HeldLock {
  public:
    PosixLock(UniqueDescriptor file, std::string path)
        : file_(std::move(file)), path_(std::move(path)) {}
    PosixLock(const PosixLock&) = delete;
    PosixLock& operator=(const PosixLock&) = delete;
    // Removed while still held (the descriptor closes after this body): a run waiting on the
    // removed file finds that it is no longer the lock's and takes the file the next run creates.
    ~PosixLock() override { ::unlink(path_.c_str()); }

  private:
    UniqueDescriptor file_;
    std::string path_;
};

// How often a lock is tried while another run holds it, and how many times the run may find the
// lock's file gone or replaced after taking it, or fail to look at it, before it gives up.
constexpr int kLockPollMilliseconds = 50;
constexpr int kLockAttempts = 100;

// Whether the open lock file is still the file its name leads to: the run that held it may have
// removed it meanwhile, and then it is no longer the lock. Unknown, errno saying why, when the
// system cannot tell.
enum class StillNamed { Yes, No, Unknown };

StillNamed stillNamed(int fd, const std::string& path) {
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0) {
        return StillNamed::Unknown;
    }
    if (::lstat(path.c_str(), &named) != 0) {
        return errno == ENOENT ? StillNamed::No : StillNamed::Unknown;
    }
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino ? StillNamed::Yes
                                                                      : StillNamed::No;
}

// Opens the lock's file, creating it readable by everyone, so that the runs of other users can
// take turns with this one in a shared folder. A lock file another user left cannot be opened for
// writing, but a lock needs only reading: flock takes it on any descriptor.
UniqueDescriptor openLockFile(const std::string& path) {
    constexpr int kFlags = O_CLOEXEC | O_NOCTTY | O_NOFOLLOW;
    UniqueDescriptor created(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | kFlags, 0644));
    if (created) {
        ::fchmod(created.get(), 0644);
        return created;
    }
    if (errno != EEXIST) {
        return created;
    }
    UniqueDescriptor existing(::open(path.c_str(), O_RDWR | kFlags));
    if (!existing && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        // Not blocking: a pipe put in the lock's place must not hold the run up.
        existing = UniqueDescriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | kFlags));
    }
    return existing;
}

// Waits for the lock on the open file, trying it again every little while: requests to stop are
// held while a run locks, and asked for between two tries. errno when it cannot be had.
int lockFile(int fd, const std::function<void()>& waiting) {
    for (int tries = 0;; ++tries) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return 0;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return errno;
        }
        // quorrel-dump holds it shared for a moment to ask whether a run is on: only a lock still
        // held a poll later is another run's.
        if (tries == 1) {
            waiting();
        }
        if (interruptionRequestedWithin(kLockPollMilliseconds)) {
            throw Interrupted();
        }
    }
}

}  // namespace

std::unique_ptr<HeldLock> NativeFileSystem::lock(const std::string& local,
                                                 const std::function<void()>& waiting) {
    bool told = false;
    const std::function<void()> once = [&] {
        if (!told) {
            told = true;
            waiting();
        }
    };
    int unknown = 0;
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        UniqueDescriptor file = openLockFile(local);
        if (!file) {
            throw cannotLock(local, errno);
        }
        const int reason = lockFile(file.get(), once);
        if (reason != 0) {
            throw cannotLock(local, reason);
        }
        switch (stillNamed(file.get(), local)) {
            case StillNamed::Yes:
                try {
                    return std::make_unique<PosixLock>(std::move(file), local);
                } catch (...) {
                    ::unlink(local.c_str());
                    throw;
                }
            case StillNamed::No:
                break;
            case StillNamed::Unknown:
                // A file system that cannot say (a failing disk, a stale network handle) is given
                // a few moments, not for ever.
                unknown = errno;
                if (interruptionRequestedWithin(kLockPollMilliseconds)) {
                    throw Interrupted();
                }
                break;
        }
    }
    throw Failure(FailureKind::WriteError,
                  "cannot lock " + inQuotes(local) + ": " +
                      (unknown != 0 ? std::string("cannot look at it: ") + std::strerror(unknown)
                                    : std::string("it was removed or replaced each of ") +
                                          std::to_string(kLockAttempts) + " times it was taken"));
}

LockState NativeFileSystem::lockState(const std::string& local) noexcept {
    const UniqueDescriptor file(
        ::open(local.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW));
    if (!file) {
        // No lock file, or one no run can have taken (a link, which a run refuses to open).
        return errno == ENOENT || errno == ELOOP ? LockState::Free : LockState::Unknown;
    }
    if (::flock(file.get(), LOCK_SH | LOCK_NB) == 0) {
        return LockState::Free;
    }
    return errno == EWOULDBLOCK ? LockState::Held : LockState::Unknown;
}

}  // namespace quorrel
