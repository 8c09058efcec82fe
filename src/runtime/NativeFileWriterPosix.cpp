#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "Failure.h"
#include "InQuotes.h"
#include "NativeFileWriter.h"

namespace quorrel {
namespace {

constexpr int kClosed = -1;

Failure writeError(const std::string& what, int reason) {
    return Failure(FailureKind::WriteError, what + ": " + std::strerror(reason));
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A rename is only on disk once the folder that holds the names is. This is done after the
// rename has taken effect, so a folder that cannot be flushed (some file systems cannot) is no
// failure of the rename: every program already sees the new name, and calling it undone would
// make the caller undo a rename that stands.
void flushFolderOf(const std::string& path) noexcept {
    const std::string folder = folderOf(path);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd != kClosed) {
        ::fsync(fd);
        ::close(fd);
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
    PosixWritableFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    PosixWritableFile(const PosixWritableFile&) = delete;
    PosixWritableFile& operator=(const PosixWritableFile&) = delete;
    ~PosixWritableFile() override { ::close(fd_); }

    void write(std::span<const std::uint8_t> bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
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
        if (::fsync(fd_) != 0) {
            throw writeError("cannot flush " + inQuotes(path_) + " to disk", errno);
        }
    }

  private:
    int fd_;
    std::string path_;
};

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
    return TargetPath{path.local, path.quoted()};
}

bool NativeFileWriter::exists(const std::string& local) {
    struct stat status {};
    return ::lstat(local.c_str(), &status) == 0;
}

std::unique_ptr<WritableFile> NativeFileWriter::createNew(const std::string& local) {
    const int fd = ::open(local.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd == kClosed) {
        if (errno == EEXIST) {
            return nullptr;
        }
        throw writeError("cannot create " + inQuotes(local), errno);
    }
    try {
        return std::make_unique<PosixWritableFile>(fd, local);
    } catch (...) {
        ::close(fd);
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

bool NativeFileWriter::remove(const std::string& local) noexcept {
    return ::unlink(local.c_str()) == 0;
}

}  // namespace quorrel
