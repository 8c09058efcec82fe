#pragma once

#include "FileSystem.h"

namespace quorrel {

// The system's own file system, as FileSystem::native() gives it. Each platform defines it in
// four sources by what the calls do: NativeReads (openForReading), NativeQueries (statusOf,
// inspectTarget, whyNotMadeByARun, pathBehindLinks), NativeChanges (createNew, keep, rename,
// remove) and NativeLocks (lock, lockState), each *Posix.cpp or *Windows.cpp; namesIn is the same
// on both (NativeFileSystem.cpp).
class NativeFileSystem final : public FileSystem {
  public:
    std::unique_ptr<ReadableFile> openForReading(const LocalPath& file) override;
    std::unique_ptr<ReadableFile> reopenForReading(const LocalPath& file,
                                                   std::unique_ptr<ReadableFile> spare) override;

    FileStatus statusOf(const std::string& local) noexcept override;
    std::vector<std::string> namesIn(const std::string& folder) override;
    std::optional<FileIdentity> inspectTarget(const LocalPath& target) override;
    std::optional<std::string> whyNotMadeByARun(const std::string& local,
                                                const std::string& target) override;
    std::string pathBehindLinks(const LocalPath& path) override;

    std::unique_ptr<WritableFile> createNew(const std::string& local) override;
    void keep(const std::string& from, const std::string& to) override;
    void rename(const std::string& from, const std::string& to, bool replace) override;
    bool remove(const std::string& local) noexcept override;
    std::unique_ptr<HeldLock> lock(const std::string& local,
                                   const std::function<void()>& waiting) override;
    LockState lockState(const std::string& local) noexcept override;
};

}  // namespace quorrel
