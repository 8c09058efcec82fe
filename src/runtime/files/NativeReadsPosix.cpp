#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <typeinfo>
#include <utility>

#include "FileKindPosix.h"
#include "NativeFileSystem.h"
#include "runtime/base/Failure.h"
#include "runtime/system/UniqueDescriptorPosix.h"

namespace quorrel {
namespace {

// What a path that is not a regular file names instead, for the refusal; empty for a regular file.
std::string notARegularFile(mode_t mode) {
    const char* kind = nonRegularKind(mode);
    if (kind == nullptr) {
        return {};
    }
    return S_ISDIR(mode) ? std::strerror(EISDIR)
                         : std::string("it is ") + kind + ", not a regular file";
}

// A file opened for reading, which owns its descriptor. Closed for reuse, it keeps the memory
// of its path for the next file opened in it. The path is quoted for a message only when a read
// fails: a run opening the same file for every record copies nothing for it.
class PosixFile final : public ReadableFile {
  public:
    PosixFile(UniqueDescriptor descriptor, const LocalPath& file) {
        reopen(std::move(descriptor), file);
    }

    void reopen(UniqueDescriptor descriptor, const LocalPath& file) {
        if (!path_.sameAs(file)) {
            path_ = file;
        }
        descriptor_ = std::move(descriptor);
    }

    bool closeForReuse() noexcept override {
        descriptor_.reset();
        return true;
    }

    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
        std::size_t total = 0;
        while (total < into.size()) {
            const std::uint64_t at = offset + total;
            if (at > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
                break;  // no file reaches that far
            }
            const ssize_t got = ::pread(descriptor_.get(), into.data() + total, into.size() - total,
                                        static_cast<off_t>(at));
            if (got < 0) {
                const int reason = errno;
                if (reason == EINTR) {
                    continue;
                }
                throw Failure(FailureKind::ReadError,
                              "cannot read " + path_.quoted() + ": " + std::strerror(reason));
            }
            if (got == 0) {
                break;
            }
            total += static_cast<std::size_t>(got);
        }
        return total;
    }

  private:
    UniqueDescriptor descriptor_;
    LocalPath path_;
};

// The descriptor of the regular file `file`, opened for reading.
UniqueDescriptor openedRegularFile(const LocalPath& file) {
    // O_NONBLOCK keeps a FIFO without a writer from hanging the open; regular files ignore it.
    UniqueDescriptor descriptor(
        ::open(file.local.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!descriptor) {
        const int reason = errno;
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + file.quoted() + ": " + std::strerror(reason));
    }
    // The descriptor, not the name, is checked, so a link followed or a file swapped in between
    // cannot slip a device past the check.
    struct stat status;  // NOLINT: fstat fills it, and it is read only then
    if (::fstat(descriptor.get(), &status) != 0) {
        const int reason = errno;
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + file.quoted() + ": " + std::strerror(reason));
    }
    if (const std::string refusal = notARegularFile(status.st_mode); !refusal.empty()) {
        throw Failure(FailureKind::OpenRefused, "cannot open " + file.quoted() + ": " + refusal);
    }
    return descriptor;
}

}  // namespace

std::unique_ptr<ReadableFile> NativeFileSystem::openForReading(const LocalPath& file) {
    return std::make_unique<PosixFile>(openedRegularFile(file), file);
}

std::unique_ptr<ReadableFile> NativeFileSystem::reopenForReading(
    const LocalPath& file, std::unique_ptr<ReadableFile> spare) {
    // PosixFile is final, so comparing the type is the whole check, at a fraction of a cast's cost.
    if (!spare) {
        return openForReading(file);
    }
    ReadableFile& kept = *spare;
    if (typeid(kept) != typeid(PosixFile)) {
        spare.reset();
        return openForReading(file);
    }
    static_cast<PosixFile&>(kept).reopen(openedRegularFile(file), file);
    return spare;
}

}  // namespace quorrel
