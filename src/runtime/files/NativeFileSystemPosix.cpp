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

#include "NativeFileSystem.h"
#include "PathParts.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/system/UniqueDescriptorPosix.h"

// The POSIX half of the file system: what the system does for each call, and nothing more. What
// is decided on top of it (the target checks, whose files a run may remove, how long a lock is
// waited for) is written once, above the seam, in the run-time's replace room.

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

FileKind kindOf(mode_t mode) {
    return S_ISREG(mode)    ? FileKind::Regular
           : S_ISDIR(mode)  ? FileKind::Folder
           : S_ISCHR(mode)  ? FileKind::CharacterDevice
           : S_ISBLK(mode)  ? FileKind::BlockDevice
           : S_ISFIFO(mode) ? FileKind::Pipe
           : S_ISSOCK(mode) ? FileKind::Socket
           : S_ISLNK(mode)  ? FileKind::SymbolicLink
                            : FileKind::Other;
}

FileStatus statusFrom(int result, const struct stat& status) noexcept {
    if (result != 0) {
        const int reason = errno;
        FileStatus missing;
        missing.presence =
            reason == ENOENT ? FileStatus::Presence::Missing : FileStatus::Presence::Unknown;
        try {
            missing.reason = std::strerror(reason);
        } catch (...) {
            // Memory running out costs only the words.
        }
        return missing;
    }
    return {FileStatus::Presence::There,
            {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)},
            std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec,
            kindOf(status.st_mode),
            static_cast<std::uint32_t>(status.st_uid),
            S_ISDIR(status.st_mode) && (status.st_mode & S_ISVTX) != 0,
            {}};
}

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

// A file read from start to end, which owns its descriptor.
class PosixStream final : public ReadableStream {
  public:
    PosixStream(UniqueDescriptor descriptor, std::string name)
        : descriptor_(std::move(descriptor)), name_(std::move(name)) {}

    std::size_t read(std::span<std::uint8_t> into) override {
        for (;;) {
            const ssize_t got = ::read(descriptor_.get(), into.data(), into.size());
            if (got >= 0) {
                return static_cast<std::size_t>(got);
            }
            if (errno != EINTR) {
                throw Failure(FailureKind::ReadError,
                              "cannot read " + name_ + ": " + std::strerror(errno));
            }
        }
    }

  private:
    UniqueDescriptor descriptor_;
    std::string name_;
};

}  // namespace

// Reading

std::unique_ptr<ReadableStream> NativeFileSystem::openStream(const LocalPath& file) {
    UniqueDescriptor descriptor(::open(file.local.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (!descriptor) {
        const int reason = errno;
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + file.quoted() + ": " + std::strerror(reason));
    }
    return std::make_unique<PosixStream>(std::move(descriptor), file.quoted());
}

FileStatus NativeFileSystem::statusOf(const std::string& local) noexcept {
    struct stat status {};
    const int result = ::stat(local.c_str(), &status);
    return statusFrom(result, status);
}

FileStatus NativeFileSystem::entryStatusOf(const std::string& local) noexcept {
    struct stat status {};
    const int result = ::lstat(local.c_str(), &status);
    return statusFrom(result, status);
}

std::optional<std::uint32_t> NativeFileSystem::currentUser() noexcept {
    return static_cast<std::uint32_t>(::geteuid());
}

std::string NativeFileSystem::pathBehindLinks(const LocalPath& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path.local, error)) {
        return path.local;
    }
    const auto linked = std::filesystem::canonical(path.local, error);
    if (error) {
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + path.quoted() + ": " + error.message());
    }
    return linked.string();
}

// Changing

std::unique_ptr<WritableFile> NativeFileSystem::createNew(const std::string& local) {
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

void NativeFileSystem::rename(const std::string& from, const std::string& to, bool replace) {
    const int reason = replace ? (::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno)
                               : renameKeepingExisting(from, to);
    if (reason != 0) {
        throw writeError("cannot rename " + inQuotes(from) + " to " + inQuotes(to), reason);
    }
    flushFolderOf(to);
}

void NativeFileSystem::keep(const std::string& from, const std::string& to) {
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

bool NativeFileSystem::remove(const std::string& local) noexcept {
    return ::unlink(local.c_str()) == 0;
}

// Locking

LockAttempt NativeFileSystem::tryLock(const std::string& local) {
    UniqueDescriptor file = openLockFile(local);
    if (!file) {
        throw cannotLock(local, errno);
    }
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            throw cannotLock(local, errno);
        }
        return {nullptr, true, {}};
    }
    switch (stillNamed(file.get(), local)) {
        case StillNamed::Yes:
            try {
                return {std::make_unique<PosixLock>(std::move(file), local), false, {}};
            } catch (...) {
                ::unlink(local.c_str());
                throw;
            }
        case StillNamed::No:
            return {nullptr, false, {}};
        case StillNamed::Unknown:
            break;
    }
    return {nullptr, false, std::string("cannot look at it: ") + std::strerror(errno)};
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
