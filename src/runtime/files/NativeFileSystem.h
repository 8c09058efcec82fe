#pragma once

#include "FileSystem.h"

namespace quorrel {

// The system's own file system, as FileSystem::native() gives it: only what the system does, one
// source per platform, NativeFileSystemPosix.cpp and NativeFileSystemWindows.cpp (looking,
// creating, renaming, removing, locking), with reading, which the load action makes fast, in
// NativeReadsPosix.cpp and NativeReadsWindows.cpp; namesIn is the same on both
// (NativeFileSystem.cpp). Every rule made of these calls is above the seam.
class NativeFileSystem final : public FileSystem {
  public:
    std::unique_ptr<ReadableFile> openForReading(const LocalPath& file) override;
    std::unique_ptr<ReadableStream> openStream(const LocalPath& file) override;
    std::unique_ptr<ReadableFile> reopenForReading(const LocalPath& file,
                                                   std::unique_ptr<ReadableFile> spare) override;
#ifndef _WIN32
    std::unique_ptr<HeldFolder> holdFolder(const std::string& local) override;
    std::unique_ptr<ReadableFile> reopenForReadingIn(const HeldFolder& folder, const char* name,
                                                     const LocalPath& file,
                                                     std::unique_ptr<ReadableFile> spare) override;
#endif

    FileStatus statusOf(const std::string& local) noexcept override;
    FileStatus entryStatusOf(const std::string& local) noexcept override;
    std::vector<std::string> namesIn(const std::string& folder) override;
    std::optional<std::uint32_t> currentUser() noexcept override;
    std::optional<std::string> userName(std::uint32_t user) override;
    std::optional<std::string> groupName(std::uint32_t group) override;
    std::optional<std::string> linkTarget(const std::string& local) override;

    std::unique_ptr<WritableFile> createNew(const std::string& local) override;
    void keep(const std::string& from, const std::string& to) override;
    void rename(const std::string& from, const std::string& to, bool replace) override;
    unsigned keepAttributes(const std::string& from, const std::string& to) noexcept override;
    bool remove(const std::string& local) noexcept override;
    LockAttempt tryLock(const std::string& local) override;
    LockState lockState(const std::string& local) noexcept override;
};

}  // namespace quorrel
