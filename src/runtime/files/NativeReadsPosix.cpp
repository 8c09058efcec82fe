#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
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

// fstat itself: glibc's fstat asks fstatat for the empty path, which the kernel takes longer to
// answer, and a load asks once for every record.
int statusOfDescriptor(int descriptor, struct stat& status) noexcept {
#if defined(__linux__) && defined(SYS_fstat)
    return static_cast<int>(::syscall(SYS_fstat, descriptor, &status));
#else
    return ::fstat(descriptor, &status);
#endif
}

// The descriptor of the regular file `file`, opened for reading: by its whole path, or by `name`
// in the folder `folder` holds open.
UniqueDescriptor openedRegularFile(const LocalPath& file, int folder = AT_FDCWD,
                                   const char* name = nullptr) {
    // O_NONBLOCK keeps a FIFO without a writer from hanging the open; regular files ignore it.
    UniqueDescriptor descriptor(::openat(folder, name != nullptr ? name : file.local.c_str(),
                                         O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!descriptor) {
        const int reason = errno;
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + file.quoted() + ": " + std::strerror(reason));
    }
    // The descriptor, not the name, is checked, so a link followed or a file swapped in between
    // cannot slip a device past the check.
    struct stat status;  // NOLINT: fstat fills it, and it is read only then
    if (statusOfDescriptor(descriptor.get(), status) != 0) {
        const int reason = errno;
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + file.quoted() + ": " + std::strerror(reason));
    }
    if (const std::string refusal = notARegularFile(status.st_mode); !refusal.empty()) {
        throw Failure(FailureKind::OpenRefused, "cannot open " + file.quoted() + ": " + refusal);
    }
    return descriptor;
}

// A folder held open by a descriptor that serves only to find names in it (O_PATH where there is
// one), so that holding it needs no right to list it.
class PosixFolder final : public HeldFolder {
  public:
    explicit PosixFolder(UniqueDescriptor descriptor) : descriptor_(std::move(descriptor)) {}
    int descriptor() const noexcept { return descriptor_.get(); }

  private:
    UniqueDescriptor descriptor_;
};

// The spare when it is a file of this file system's, closed for reuse; else none.
PosixFile* reusable(const std::unique_ptr<ReadableFile>& spare) noexcept {
    // PosixFile is final, so comparing the type is the whole check, at a fraction of a cast's cost.
    if (!spare || typeid(*spare) != typeid(PosixFile)) {
        return nullptr;
    }
    return static_cast<PosixFile*>(spare.get());
}

}  // namespace

std::unique_ptr<ReadableFile> NativeFileSystem::openForReading(const LocalPath& file) {
    return std::make_unique<PosixFile>(openedRegularFile(file), file);
}

std::unique_ptr<ReadableFile> NativeFileSystem::reopenForReading(
    const LocalPath& file, std::unique_ptr<ReadableFile> spare) {
    PosixFile* const kept = reusable(spare);
    if (kept == nullptr) {
        spare.reset();
        return openForReading(file);
    }
    kept->reopen(openedRegularFile(file), file);
    return spare;
}

std::unique_ptr<HeldFolder> NativeFileSystem::holdFolder(const std::string& local) {
#ifdef O_PATH
    constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
    constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif
    UniqueDescriptor folder(::open(local.c_str(), kFolderFlags));
    if (!folder) {
        return nullptr;
    }
    return std::make_unique<PosixFolder>(std::move(folder));
}

std::unique_ptr<ReadableFile> NativeFileSystem::reopenForReadingIn(
    const HeldFolder& folder, const char* name, const LocalPath& file,
    std::unique_ptr<ReadableFile> spare) {
    if (typeid(folder) != typeid(PosixFolder)) {
        return reopenForReading(file, std::move(spare));
    }
    const int in = static_cast<const PosixFolder&>(folder).descriptor();
    PosixFile* const kept = reusable(spare);
    if (kept == nullptr) {
        return std::make_unique<PosixFile>(openedRegularFile(file, in, name), file);
    }
    kept->reopen(openedRegularFile(file, in, name), file);
    return spare;
}

}  // namespace quorrel
