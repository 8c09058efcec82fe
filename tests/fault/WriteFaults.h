#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>

#include "FileSystemWrapper.h"

namespace quorrel::fault {

// What goes wrong with the operations of a FaultyWrites file system. Each kind is counted from 1
// across all files, in the order the calls are made; 0 means no failure of that kind.
struct WriteFaults {
    std::size_t failingWrite = 0;   // this write fails as a full disk would
    std::size_t failingFlush = 0;   // this flush to disk fails
    std::size_t failingKeep = 0;    // this second name (link or copy) is refused
    std::size_t failingRename = 0;  // this rename fails and is not done
    std::size_t failingRemove = 0;  // this removal is refused
    bool laterRenamesFail = false;  // and so does every rename after it
    // Done as the failing rename is entered, before it fails: another program acting meanwhile.
    std::function<void()> beforeFailingRename;
    // Once set, every look at a path's status fails, as on a disk that has begun to fail.
    bool statusesFail = false;
    // The process stops, as a kill or a power cut would stop it, on entering this operation of
    // any kind (creating, writing, flushing, keeping, renaming, removing, locking): it and every
    // later one do nothing and throw Stopped.
    std::size_t stoppingOperation = 0;
    std::size_t writesMade = 0;
    std::size_t flushesMade = 0;
    std::size_t keepsMade = 0;
    std::size_t renamesMade = 0;
    std::size_t removesMade = 0;
    std::size_t operationsMade = 0;
};

// What a FaultyWrites file system throws once its process has stopped; not a Failure, as nothing
// that happens after a real stop can report one.
struct Stopped : std::runtime_error {
    Stopped() : std::runtime_error("the process stopped (injected)") {}
};

// A file system whose changes to `target` go wrong as `faults` says: a failing operation throws
// the write-error failure the system's would and changes nothing. Reading, listing and the other
// questions pass on untouched.
class FaultyWrites final : public FileSystemWrapper {
  public:
    explicit FaultyWrites(std::shared_ptr<WriteFaults> faults,
                          FileSystem& target = FileSystem::native())
        : FileSystemWrapper(target), faults_(std::move(faults)) {}

    FileStatus statusOf(const std::string& local) noexcept override;
    std::unique_ptr<WritableFile> createNew(const std::string& local) override;
    void keep(const std::string& from, const std::string& to) override;
    void rename(const std::string& from, const std::string& to, bool replace) override;
    bool remove(const std::string& local) noexcept override;
    LockAttempt tryLock(const std::string& local) override;

  private:
    std::shared_ptr<WriteFaults> faults_;
};

// Throws Stopped when the operation being entered is the one the process stops at, or a later one.
void enterOperation(WriteFaults& faults);

}  // namespace quorrel::fault
