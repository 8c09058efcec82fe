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
#include "ReadableStream.h"
#include "WritableFile.h"

namespace quorrel {

// What tells one file from another on a system: the device or volume and the file's number on
// it. Two names with the same identity are links to one file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;

    auto operator<=>(const FileIdentity&) const = default;
};

// What is at a path, as the system tells it. A link is a kind only when the entry itself is
// looked at (FileSystem::entryStatusOf); a symbolic link is POSIX's, a link Windows' reparse
// point (a symbolic link or a junction). Windows tells a device from a pipe no further.
enum class FileKind {
    Regular,
    Folder,
    CharacterDevice,
    BlockDevice,
    Pipe,
    Socket,
    DeviceOrPipe,
    SymbolicLink,
    Link,
    Other
};

// What the system says of a path.
struct FileStatus {
    // There is a file or folder; there is none (or no folder on the way to it); or the system
    // would not say (no permission, a file where a folder should be, a failing disk).
    enum class Presence { There, Missing, Unknown };

    Presence presence = Presence::Unknown;
    FileIdentity identity;  // of what is there; none for a Windows device or pipe
    // When its bytes, or a folder's names, last changed: nanoseconds since 1970 began (UTC).
    std::int64_t changed = 0;
    FileKind kind = FileKind::Regular;
    // Where the system numbers users (POSIX): the owner, and whether the folder is sticky, so
    // that only an entry's owner (or the folder's) may remove or rename the entry.
    std::optional<std::uint32_t> owner;
    std::optional<std::uint32_t> group;
    bool sticky = false;
    std::uint32_t permissions = 0;  // POSIX's mode bits (07777), 0 where the system has none
    std::string reason;             // the system's words for why it is not There
};

// Whether a run holds a lock, as far as another program can tell without taking it.
enum class LockState { Free, Held, Unknown };

// What a rewritten file may keep of the file it replaces, as flags: its mode, its owner and its
// group, its access control list and its other extended attributes.
enum KeptAttribute : unsigned {
    kKeptMode = 1,
    kKeptOwner = 2,
    kKeptGroup = 4,
    kKeptAcl = 8,
    kKeptExtendedAttributes = 16
};

// A folder the file system holds open until the object goes, so that files in it open by their
// name alone (FileSystem::holdFolder).
class HeldFolder {
  public:
    virtual ~HeldFolder() = default;
};

// A lock that the file system holds until the object goes.
class HeldLock {
  public:
    virtual ~HeldLock() = default;
};

// One try at a lock: taken, held by another process for now, or not settled (the file was
// removed or replaced as it was taken, or the system cannot say), with the system's words.
struct LockAttempt {
    std::unique_ptr<HeldLock> held;
    bool busy = false;
    std::string unsettled;
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

    // Opens the file for reading from start to end, as a list is read: a regular file, a pipe or
    // a device alike, shared with other programs and never created. Throws an open-refused
    // failure naming the path (as file.quoted() names it) and the system's reason when it cannot.
    virtual std::unique_ptr<ReadableStream> openStream(const LocalPath& file) = 0;

    // Opens `file` as openForReading does, in `spare` where that is an object this file system
    // made and closed for reuse (ReadableFile::closeForReuse); else, and by default, as
    // openForReading does, letting `spare` go.
    virtual std::unique_ptr<ReadableFile> reopenForReading(const LocalPath& file,
                                                           std::unique_ptr<ReadableFile> spare) {
        spare.reset();
        return openForReading(file);
    }

    // Holds the folder `local` open, so that a run opening files in it again and again does not
    // walk the folder's path for each; none where the system opens no folder so, or this one
    // cannot be (and by default): the files are then opened by their whole paths. Throws only when
    // memory runs out.
    virtual std::unique_ptr<HeldFolder> holdFolder(const std::string& local) {
        (void)local;
        return nullptr;
    }

    // Opens `file` as reopenForReading does, by its `name` in `folder`, which holds the folder
    // its path led to when it was held; by default by its whole path, as reopenForReading does.
    virtual std::unique_ptr<ReadableFile> reopenForReadingIn(const HeldFolder& folder,
                                                             const char* name,
                                                             const LocalPath& file,
                                                             std::unique_ptr<ReadableFile> spare) {
        (void)folder;
        (void)name;
        return reopenForReading(file, std::move(spare));
    }

    // Looking

    // What the system says of `local`, links followed; never throws.
    virtual FileStatus statusOf(const std::string& local) noexcept = 0;

    // What the system says of the entry `local` itself, a link not followed; never throws.
    virtual FileStatus entryStatusOf(const std::string& local) noexcept = 0;

    // The names of the entries of the folder, in no particular order; none when it cannot be
    // listed.
    virtual std::vector<std::string> namesIn(const std::string& folder) = 0;

    // The user this process acts as, where the system numbers users (POSIX).
    virtual std::optional<std::uint32_t> currentUser() noexcept = 0;

    // The name of the user or group of that number; none when the system has none for it.
    virtual std::optional<std::string> userName(std::uint32_t user) = 0;
    virtual std::optional<std::string> groupName(std::uint32_t group) = 0;

    // What the symbolic link `local` holds, as it holds it; none when it is no link, or on a
    // system where this system follows none itself (Windows).
    virtual std::optional<std::string> linkTarget(const std::string& local) = 0;

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

    // Gives the file `to` what it can of the file `from`'s mode, owner, group, access control
    // list and extended attributes, as far as the system lets this process set them; what the
    // file `from` has that `to` did not get, as KeptAttribute flags (0 when all was kept).
    virtual unsigned keepAttributes(const std::string& from, const std::string& to) noexcept = 0;

    // Removes the file; false when the system refused.
    virtual bool remove(const std::string& local) noexcept = 0;

    // Tries once, without waiting, to take the advisory lock that the file `local` stands for,
    // creating the file when it is missing; a lock taken is held until the returned object goes,
    // which removes the file again. Only programs that take the same lock are kept out. Throws a
    // write-error failure when the lock cannot be had at all. (TargetLocks waits and tries again.)
    virtual LockAttempt tryLock(const std::string& local) = 0;

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
