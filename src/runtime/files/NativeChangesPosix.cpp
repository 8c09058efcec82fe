#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "NativeFileSystem.h"
#include "PathParts.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
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

}  // namespace

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

}  // namespace quorrel
