#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "FileKindPosix.h"
#include "FileQueries.h"
#include "PathParts.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"

namespace quorrel {
namespace {

FileIdentity identityFrom(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

Failure cannotWrite(const TargetPath& target, const std::string& reason) {
    return Failure(FailureKind::WriteError, "cannot write " + target.shown + ": " + reason);
}

}  // namespace

std::optional<FileIdentity> identityOf(const std::string& local) {
    struct stat status {};
    if (::stat(local.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return identityFrom(status);
}

std::optional<FileIdentity> inspectTarget(const TargetPath& target) {
    struct stat status {};
    if (::stat(target.local.c_str(), &status) == 0) {
        if (const char* kind = nonRegularKind(status.st_mode)) {
            throw cannotWrite(target, std::string("it is ") + kind + ", not a regular file");
        }
        return identityFrom(status);
    }
    if (errno != ENOENT) {
        throw cannotWrite(target, std::strerror(errno));
    }
    const std::string folder = folderOf(target.local);
    if (::stat(folder.c_str(), &status) != 0) {
        throw cannotWrite(target, "its folder " + inQuotes(folder) + ": " + std::strerror(errno));
    }
    if (!S_ISDIR(status.st_mode)) {
        throw cannotWrite(target, inQuotes(folder) + " is not a folder");
    }
    return {};
}

std::optional<std::string> whyNotMadeByARun(const std::string& local, const std::string& target) {
    struct stat entry {};
    if (::lstat(local.c_str(), &entry) != 0) {
        return std::string("it cannot be looked at: ") + std::strerror(errno);
    }
    if (S_ISLNK(entry.st_mode)) {
        return std::string("it is a symbolic link");
    }
    if (const char* kind = nonRegularKind(entry.st_mode)) {
        return std::string("it is ") + kind;
    }
    // Elsewhere whoever may write the folder may replace the target itself anyway.
    struct stat folder {};
    if (entry.st_uid == ::geteuid() || ::stat(folderOf(local).c_str(), &folder) != 0 ||
        (folder.st_mode & S_ISVTX) == 0) {
        return std::nullopt;
    }
    struct stat owner {};
    if (::stat(target.c_str(), &owner) == 0 && owner.st_uid == entry.st_uid) {
        return std::nullopt;
    }
    return std::string("it is owned by another user");
}

}  // namespace quorrel
