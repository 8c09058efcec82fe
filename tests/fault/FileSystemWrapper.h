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
    FileStatus statusOf(const std::string& local) noexcept override {
        return target_.statusOf(local);
    }
    std::vector<std::string> namesIn(const std::string& folder) override {
        return target_.namesIn(folder);
    }
    std::optional<FileIdentity> inspectTarget(const LocalPath& target) override {
        return target_.inspectTarget(target);
    }
    std::optional<std::string> whyNotMadeByARun(const std::string& local,
                                                const std::string& target) override {
        return target_.whyNotMadeByARun(local, target);
    }
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
    std::unique_ptr<HeldLock> lock(const std::string& local,
                                   const std::function<void()>& waiting) override {
        return target_.lock(local, waiting);
    }
    LockState lockState(const std::string& local) noexcept override {
        return target_.lockState(local);
    }

  private:
    FileSystem& target_;
};

}  // namespace quorrel::fault
