#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "Failure.h"
#include "FileKind.h"
#include "NativeFile.h"

namespace quorrel {
namespace {

constexpr int kClosed = -1;

// What a path that is not a regular file names instead, for the refusal; empty for a regular file.
std::string notARegularFile(mode_t mode) {
    const char* kind = nonRegularKind(mode);
    if (kind == nullptr) {
        return {};
    }
    return S_ISDIR(mode) ? std::strerror(EISDIR)
                         : std::string("it is ") + kind + ", not a regular file";
}

// Closes a descriptor that has not yet been handed to a NativeFile.
class DescriptorGuard {
  public:
    explicit DescriptorGuard(int fd) : fd_(fd) {}
    DescriptorGuard(const DescriptorGuard&) = delete;
    DescriptorGuard& operator=(const DescriptorGuard&) = delete;
    ~DescriptorGuard() {
        if (fd_ != kClosed) {
            ::close(fd_);
        }
    }
    int get() const noexcept { return fd_; }
    void release() noexcept { fd_ = kClosed; }

  private:
    int fd_;
};

}  // namespace

std::unique_ptr<NativeFile> NativeFile::openForReading(const LocalPath& file) {
    // O_NONBLOCK keeps a FIFO without a writer from hanging the open; regular files ignore it.
    const int fd = ::open(file.local.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd == kClosed) {
        const int reason = errno;
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + file.quoted() + ": " + std::strerror(reason));
    }
    DescriptorGuard guard(fd);
    // The descriptor, not the name, is checked, so a link followed or a file swapped in between
    // cannot slip a device past the check.
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int reason = errno;
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + file.quoted() + ": " + std::strerror(reason));
    }
    if (const std::string refusal = notARegularFile(status.st_mode); !refusal.empty()) {
        throw Failure(FailureKind::OpenRefused, "cannot open " + file.quoted() + ": " + refusal);
    }
    // The guard lets go only once the file owns the descriptor: memory running out for the name
    // or the object must not leak it.
    auto opened = std::make_unique<NativeFile>(guard.get(), file.quoted());
    guard.release();
    return opened;
}

NativeFile::NativeFile(Handle handle, std::string name) : handle_(handle), name_(std::move(name)) {}

NativeFile::~NativeFile() {
    ::close(handle_);
}

std::size_t NativeFile::readAt(std::uint64_t offset, std::span<std::uint8_t> into) {
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
            throw Failure(FailureKind::ReadError,
                          "cannot read " + name_ + ": " + std::strerror(errno));
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    return total;
}

}  // namespace quorrel
