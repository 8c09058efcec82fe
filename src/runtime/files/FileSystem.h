#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "LocalPath.h"
#include "ReadableFile.h"
#include "WritableFile.h"

namespace quorrel {

// What tells one file from another on a system: the device or volume and the file's number on
// it. Two names with the same identity are links to one file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;

    auto operator<=>(const FileIdentity&) const = default;
};

// What the system says of a path, links followed.
struct FileStatus {
    // There is a file or folder; there is none (or no folder on the way to it); or the system
    // would not say (no permission, a file where a folder should be, a failing disk).
    enum class Presence { There, Missing, Unknown };

    Presence presence = Presence::Unknown;
    FileIdentity identity;  // of what is there
    // When its bytes, or a folder's names, last changed: nanoseconds since 1970 began (UTC).
    std::int64_t changed = 0;
};

// Whether a run holds a lock, as far as another program can tell without taking it.
enum class LockState { Free, Held, Unknown };

// A lock that the file system holds until the object goes.
class HeldLock {
  public:
    virtual ~HeldLock() = default;
};

// Every call this system makes to the file system, in one interface, as leveldb's Env: reading,
// looking at paths and folders, and the few operations that writing files safely is made of. The
// system's own is FileSystem::native(); a test hands in one that passes every call on but those
// it makes fail or stop (tests/fault). Paths are the system's own, as LocalPath::local holds them,
// in UTF-8; typed paths are resolved before they come here (PathResolver).
class FileSystem {
  public:
    // The system's own, which keeps no state: one for the whole program.
    static FileSystem& native();

    virtual ~FileSystem() = default;

    // Reading

    // Opens the existing regular file for reading only, shared with other programs and never
    // created; the file owns its handle and closes it when it goes. Throws an open-refused
    // failure naming the path (as file.quoted() names it) and the system's reason when it
    // cannot, and one saying what the path is instead when it names a folder, a device, a pipe
    // or a socket: those have no fixed bytes to read records from.
    virtual std::unique_ptr<ReadableFile> openForReading(const LocalPath& file) = 0;

    // Opens `file` as openForReading does, in `spare` where that is an object this file system
    // made and closed for reuse (ReadableFile::closeForReuse); else, and by default, as
    // openForReading does, letting `spare` go.
    virtual std::unique_ptr<ReadableFile> reopenForReading(const LocalPath& file,
                                                           std::unique_ptr<ReadableFile> spare) {
        spare.reset();
        return openForReading(file);
    }

    // Looking

    // What the system says of `local`, links followed; never throws.
    virtual FileStatus statusOf(const std::string& local) noexcept = 0;

    // The names of the entries of the folder, in no particular order; none when it cannot be
    // listed.
    virtual std::vector<std::string> namesIn(const std::string& folder) = 0;

    // Inspects a target before anything is written: the regular file there, or nothing for a
    // missing name in an existing folder. Anything else put in its place would be lost, so a
    // folder, a device or a pipe there ("cannot write "uo": it is a folder, not a regular file"),
    // a missing folder, or a system that cannot say, is a write-error failure.
    virtual std::optional<FileIdentity> inspectTarget(const LocalPath& target) = 0;

    // Why the entry at `local`, named as one of the hidden files a run makes beside `target`,
    // cannot be one a run made, looked at itself, links not followed: "it is a symbolic link",
    // "it is a folder", "it is a pipe", or, in a folder where only an entry's owner may remove it
    // (the sticky bit, as on /tmp), "it is owned by another user" when neither the caller nor the
    // target's owner owns it. Nothing when it can be.
    virtual std::optional<std::string> whyNotMadeByARun(const std::string& local,
                                                        const std::string& target) = 0;

    // The file a write of `path` replaces: off Windows, when the path is a symbolic link, the
    // file it leads to, so that the link stays and what it leads to is replaced, as a read of it
    // reads that; else the path itself. Throws an open-refused failure when a link leads nowhere
    // that can be found.
    virtual std::string pathBehindLinks(const LocalPath& path) = 0;

    // Changing

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

    // Built on the calls above, so that a file system that makes those fail makes these fail too

    // The identity of the file or folder at `local`, links followed; nothing when there is none
    // or the system would not say.
    std::optional<FileIdentity> identityOf(const std::string& local) noexcept;

    // The whole of the regular file, or nothing when it holds more than `largest` bytes. Throws
    // the failure of the open or the read that failed.
    std::optional<std::vector<std::uint8_t>> readWholeFile(const LocalPath& file,
                                                           std::uint64_t largest);
};

}  // namespace quorrel
