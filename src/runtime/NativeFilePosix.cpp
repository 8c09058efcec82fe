#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "Failure.h"
#include "NativeFile.h"
#include "WindowsPath.h"

namespace quorrel {
namespace {

constexpr int kClosed = -1;

Failure systemFailure(std::string_view action, const std::string& path, int error) {
    return Failure(FailureKind::OpenRefused,
                   std::string(action) + " \"" + path + "\": " + std::strerror(error));
}

}  // namespace

NativeFile NativeFile::openForReading(const std::string& path) {
    // O_NONBLOCK keeps a FIFO without a writer from hanging the open; regular files ignore it.
    const LocalPath file = localPathFor(path);  // drive-letter paths lead into the Wine prefix
    const int fd = ::open(file.local.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd == kClosed) {
        const int reason = errno;
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + file.quoted() + ": " + std::strerror(reason));
    }
    return NativeFile(fd, path);
}

NativeFile::NativeFile(Handle handle, std::string path) : handle_(handle), path_(std::move(path)) {}

NativeFile::NativeFile(NativeFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kClosed)), path_(std::move(other.path_)) {}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
    if (this != &other) {
        release();
        handle_ = std::exchange(other.handle_, kClosed);
        path_ = std::move(other.path_);
    }
    return *this;
}

NativeFile::~NativeFile() {
    release();
}

void NativeFile::release() noexcept {
    if (handle_ != kClosed) {
        ::close(handle_);
        handle_ = kClosed;
    }
}

std::size_t NativeFile::readAt(std::uint64_t offset, std::span<std::uint8_t> into) const {
    std::size_t total = 0;
    while (total < into.size()) {
        const std::uint64_t at = offset + total;
        if (at > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
            break;  // no file reaches that far
        }
        const ssize_t got =
            ::pread(handle_, into.data() + total, into.size() - total, static_cast<off_t>(at));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EAGAIN) {
                break;  // an empty FIFO or socket: nothing more to read now
            }
            throw systemFailure("cannot read", path_, errno);
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    return total;
}

std::uint64_t NativeFile::size() const {
    struct stat status {};
    if (::fstat(handle_, &status) != 0) {
        throw systemFailure("cannot read the size of", path_, errno);
    }
    // A directory, pipe or device opens like a file but has no size to read records by; taking
    // it as empty would show an empty table where the user named the wrong thing.
    if (S_ISDIR(status.st_mode)) {
        throw systemFailure("cannot read", path_, EISDIR);
    }
    if (!S_ISREG(status.st_mode)) {
        throw Failure(FailureKind::OpenRefused,
                      "cannot read \"" + path_ + "\": it is not a regular file");
    }
    return static_cast<std::uint64_t>(status.st_size);
}

}  // namespace quorrel
