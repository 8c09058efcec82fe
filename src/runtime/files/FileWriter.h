#pragma once

#include <functional>
#include <memory>
#include <string>

#include "WritableFile.h"

namespace quorrel {

// A file to be written: the name the system uses for it and how messages name it.
struct TargetPath {
    std::string local;
    std::string shown;
    // Whether its name is one that Windows compares ignoring case: true on Windows and, elsewhere,
    // for a drive-letter path, which names a file that Windows programs open through Wine.
    bool windowsName = false;
};

// Whether a run holds a lock, as far as another program can tell without taking it.
enum class LockState { Free, Held, Unknown };

// A lock that the file writer holds until the object goes.
class HeldLock {
  public:
    virtual ~HeldLock() = default;
};

// The few operations that writing files safely is made of. The system's own come from
// NativeFileWriter; tests hand in one that can be told to fail any of them, or to stop as a
// killed process would.
class FileWriter {
  public:
    virtual ~FileWriter() = default;

    // The file to write for the path a user typed: the one a read of that path would open when it
    // exists. Throws an open-refused failure when the path cannot lead to a file.
    virtual TargetPath locate(const std::string& typed) = 0;

    // Creates the file, which must not exist yet, for writing only; nullptr when it already
    // exists, so the caller can pick another name. Throws a write-error failure otherwise.
    virtual std::unique_ptr<WritableFile> createNew(const std::string& local) = 0;

    // Gives the file `from` the second name `to`, which must not exist yet: a hard link where the
    // file system has them, else a copy flushed to disk. Either way `from` itself is never moved,
    // so it is never absent. Throws a write-error failure naming both files.
    virtual void keep(const std::string& from, const std::string& to) = 0;

    // Renames `from` to `to` in one step, so a reader sees the old file or the new one, never a
    // part. With `replace` an existing `to` is replaced; without it an existing `to` makes the
    // rename fail and stay undone. Returns once the rename is on disk. Throws a write-error
    // failure naming both files and the system's reason.
    virtual void rename(const std::string& from, const std::string& to, bool replace) = 0;

    // Removes the file; false when the system refused.
    virtual bool remove(const std::string& local) noexcept = 0;

    // Takes the advisory lock that the file `local` stands for, creating the file when it is
    // missing, and holds it until the returned object goes, which removes the file again. Waits
    // while another process holds it, calling `waiting` once first; a request to stop the program
    // that comes meanwhile, while interruptions are held, ends the wait with Interrupted. Only
    // programs that take the same lock are kept out. Throws a write-error failure when the lock
    // cannot be taken.
    virtual std::unique_ptr<HeldLock> lock(const std::string& local,
                                           const std::function<void()>& waiting) = 0;

    // Whether a run holds the lock `local` stands for, asked without creating or changing anything
    // and without waiting: Free as well when there is no lock file, Unknown when it cannot be told
    // (the file cannot be opened, say).
    virtual LockState lockState(const std::string& local) noexcept = 0;
};

}  // namespace quorrel
