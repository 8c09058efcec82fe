#pragma once

#include "runtime/files/FileSystem.h"

namespace quorrel::fault {

// A file system that passes every call on to another, as leveldb's EnvWrapper: a test double
// derives from it and overrides only the calls it makes fail, count or stop.
class FileSystemWrapper : public FileSystem {
  public:
    explicit FileSystemWrapper(FileSystem& target) : target_(target) {}

    std::unique_ptr<ReadableFile> openForReading(const LocalPath& file) override {
        return target_.openForReading(file);
    }
    std::unique_ptr<ReadableStream> openStream(const LocalPath& file) override {
        return target_.openStream(file);
    }
    FileStatus statusOf(const std::string& local) noexcept override {
        return target_.statusOf(local);
    }
    std::vector<std::string> namesIn(const std::string& folder) override {
        return target_.namesIn(folder);
    }
    FileStatus entryStatusOf(const std::string& local) noexcept override {
        return target_.entryStatusOf(local);
    }
    std::optional<std::uint32_t> currentUser() noexcept override { return target_.currentUser(); }
    std::string pathBehindLinks(const LocalPath& path) override {
        return target_.pathBehindLinks(path);
    }
    std::unique_ptr<WritableFile> createNew(const std::string& local) override {
        return target_.createNew(local);
    }
    void keep(const std::string& from, const std::string& to) override { target_.keep(from, to); }
    void rename(const std::string& from, const std::string& to, bool replace) override {
        target_.rename(from, to, replace);
    }
    bool remove(const std::string& local) noexcept override { return target_.remove(local); }
    LockAttempt tryLock(const std::string& local) override { return target_.tryLock(local); }
    LockState lockState(const std::string& local) noexcept override {
        return target_.lockState(local);
    }

  private:
    FileSystem& target_;
};

}  // namespace quorrel::fault
