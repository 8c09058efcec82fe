#include "LookedAt.h"

#include <string>
#include <utility>

#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/files/PathParts.h"
#include "runtime/files/WindowsNames.h"

namespace quorrel {

LookedAt lookAt(FileSystem& fileSystem, LocalPath path) {
    const auto file = fileSystem.identityOf(path.local);
    const auto folder = fileSystem.identityOf(folderOf(path.local));
    return {std::move(path), file, folder};
}

std::string kindName(FileKind kind) {
    switch (kind) {
        case FileKind::Regular:
            return "a regular file";
        case FileKind::Folder:
            return "a folder";
        case FileKind::CharacterDevice:
            return "a character device";
        case FileKind::BlockDevice:
            return "a block device";
        case FileKind::Pipe:
            return "a pipe";
        case FileKind::Socket:
            return "a socket";
        case FileKind::DeviceOrPipe:
            return "a device or a pipe";
        case FileKind::SymbolicLink:
            return "a symbolic link";
        case FileKind::Link:
            return "a link";
        case FileKind::Other:
            break;
    }
    return "not a file";
}

LookedAt lookAtTarget(FileSystem& fileSystem, LocalPath path) {
    const auto refused = [&](const std::string& reason) {
        return Failure(FailureKind::WriteError, "cannot write " + path.quoted() + ": " + reason);
    };
    const FileStatus target = fileSystem.statusOf(path.local);
    const std::string folderPath = folderOf(path.local);
    const auto folder = fileSystem.identityOf(folderPath);
    switch (target.presence) {
        case FileStatus::Presence::There:
            if (target.kind != FileKind::Regular) {
                throw refused("it is " + kindName(target.kind) + ", not a regular file");
            }
            return {std::move(path), target.identity, folder};
        case FileStatus::Presence::Unknown:
            throw refused(target.reason);
        case FileStatus::Presence::Missing:
            break;
    }
    const FileStatus holder = fileSystem.statusOf(folderPath);
    if (holder.presence != FileStatus::Presence::There) {
        throw refused("its folder " + inQuotes(folderPath) + ": " + holder.reason);
    }
    if (holder.kind != FileKind::Folder) {
        throw refused(inQuotes(folderPath) + " is not a folder");
    }
    return {std::move(path), std::nullopt, folder};
}

bool nameOneFile(const LookedAt& first, const LookedAt& second) {
    if (first.path.local == second.path.local) {
        return true;
    }
    if (first.file && second.file) {
        return *first.file == *second.file;
    }
    // A name that does not exist yet is one file with another when both are the same name in
    // the same folder, however the folders' paths are spelt.
    if (!first.folder || first.folder != second.folder) {
        return false;
    }
    const std::string firstName = nameOf(first.path.local);
    const std::string secondName = nameOf(second.path.local);
    return (first.path.windowsName || second.path.windowsName)
               ? sameWindowsName(firstName, secondName)
               : firstName == secondName;
}

void refuseOneFileTwice(const GivenPath& first, const GivenPath& second) {
    if (nameOneFile(first.looked, second.looked)) {
        throw Failure(FailureKind::WriteError,
                      std::string(first.option) + " " + first.looked.path.quoted() + " and " +
                          std::string(second.option) + " " + second.looked.path.quoted() +
                          " are the same file");
    }
}

}  // namespace quorrel
