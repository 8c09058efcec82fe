#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "NativeFileWriter.h"
#include "PathParts.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/paths/WinePathResolver.h"
#include "runtime/system/InterruptionsHeld.h"
#include "runtime/system/UniqueDescriptorPosix.h"

namespace quorrel {
namespace {

Failure writeError(const std::string& what, int reason) {
    return Failure(FailureKind::WriteError, what + ": " + std::strerror(reason));
}

// A rename is only on disk once the folder that holds the names is. This is done after the
// rename has taken effect, so a folder that cannot be flushed (some file systems cannot) is no
// failure of the rename: every program already sees the new name, and calling it undone would
// make the caller undo a rename that stands.
void flushFolderOf(const std::string& path) noexcept {
    const UniqueDescriptor folder(
        ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder) {
        ::fsync(folder.get());
    }
}

// Without replacing: renameat2 where the system and the file system have it (Linux), else a
// hard link that fails on an existing name, then the old name removed.
int renameKeepingExisting(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return errno;
    }
#endif
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    ::unlink(from.c_str());
    return 0;
}

class PosixWritableFile final : public WritableFile {
  public:
    PosixWritableFile(UniqueDescriptor file, std::string path)
        : file_(std::move(file)), path_(std::move(path)) {}

    void write(std::span<const std::uint8_t> bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(file_.get(), bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw writeError("cannot write " + inQuotes(path_), errno);
            }
            bytes = bytes.subspan(static_cast<std::size_t>(written));
        }
    }

    void flush() override {
        if (::fsync(file_.get()) != 0) {
            throw writeError("cannot flush " + inQuotes(path_) + " to disk", errno);
        }
    }

  private:
    UniqueDescriptor file_;
    std::string path_;
};

// A file's bytes copied to a new file, flushed to disk: a second name for a file system without
// hard links.
void copyFile(const std::string& from, const std::string& to) {
    const UniqueDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (!source) {
        throw writeError("cannot read " + inQuotes(from), errno);
    }
    UniqueDescriptor copy(
        ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (!copy) {
        const int reason = errno;
        throw writeError("cannot create " + inQuotes(to), reason);
    }
    PosixWritableFile out(std::move(copy), to);
    try {
        std::vector<std::uint8_t> piece(64 * 1024);
        for (;;) {
            const ssize_t got = ::read(source.get(), piece.data(), piece.size());
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                throw writeError("cannot read " + inQuotes(from), errno);
            }
            if (got == 0) {
                break;
            }
            out.write(std::span(piece).first(static_cast<std::size_t>(got)));
        }
        out.flush();
    } catch (...) {
        ::unlink(to.c_str());
        throw;
    }
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

TargetPath NativeFileWriter::locate(const std::string& typed) {
    LocalPath path = resolver_.resolveForWriting(typed);
    // A link is followed, as a read of it would be: the file it leads to is replaced and the
    // link stays, rather than the link being replaced by a file of its own.
    std::error_code error;
    if (std::filesystem::is_symlink(path.local, error)) {
        const auto linked = std::filesystem::canonical(path.local, error);
        if (error) {
            throw Failure(FailureKind::OpenRefused,
                          "cannot open " + path.quoted() + ": " + error.message());
        }
        path.local = linked.string();
    }
    return TargetPath{path.local, path.quoted(), startsWithDriveLetter(typed)};
}

std::unique_ptr<WritableFile> NativeFileWriter::createNew(const std::string& local) {
    UniqueDescriptor file(
        ::open(local.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (!file) {
        if (errno == EEXIST) {
            return nullptr;
        }
        throw writeError("cannot create " + inQuotes(local), errno);
    }
    try {
        return std::make_unique<PosixWritableFile>(std::move(file), local);
    } catch (...) {
        ::unlink(local.c_str());
        throw;
    }
}

void NativeFileWriter::rename(const std::string& from, const std::string& to, bool replace) {
    const int reason = replace ? (::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno)
                               : renameKeepingExisting(from, to);
    if (reason != 0) {
        throw writeError("cannot rename " + inQuotes(from) + " to " + inQuotes(to), reason);
    }
    flushFolderOf(to);
}

void NativeFileWriter::keep(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) == 0) {
        flushFolderOf(to);
        return;
    }
    // Hard links are missing (FAT, some network file systems) or used up: a copy does as well.
    if (errno != EPERM && errno != ENOTSUP && errno != EXDEV && errno != EMLINK &&
        errno != ENOSYS) {
        throw writeError("cannot keep " + inQuotes(from) + " as " + inQuotes(to), errno);
    }
    copyFile(from, to);
    flushFolderOf(to);
}

bool NativeFileWriter::remove(const std::string& local) noexcept {
    return ::unlink(local.c_str()) == 0;
}

std::unique_ptr<HeldLock> NativeFileWriter::lock(const std::string& local,
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
            throw writeError("cannot lock " + inQuotes(local), errno);
        }
        const int reason = lockFile(file.get(), once);
        if (reason != 0) {
            throw writeError("cannot lock " + inQuotes(local), reason);
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

LockState NativeFileWriter::lockState(const std::string& local) noexcept {
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
