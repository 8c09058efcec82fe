#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "FileKindPosix.h"
#include "NativeFileSystem.h"
#include "PathParts.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"

namespace quorrel {
namespace {

FileIdentity identityFrom(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

Failure cannotWrite(const LocalPath& target, const std::string& reason) {
    return Failure(FailureKind::WriteError, "cannot write " + target.quoted() + ": " + reason);
}

}  // namespace

FileStatus NativeFileSystem::statusOf(const std::string& local) noexcept {
    struct stat status {};
    if (::stat(local.c_str(), &status) != 0) {
        // A file where a folder should be is no missing name: what stands there is in the way.
        return {
            errno == ENOENT ? FileStatus::Presence::Missing : FileStatus::Presence::Unknown, {}, 0};
    }
    return {FileStatus::Presence::There, identityFrom(status),
            std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec};
}

std::optional<FileIdentity> NativeFileSystem::inspectTarget(const LocalPath& target) {
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

std::optional<std::string> NativeFileSystem::whyNotMadeByARun(const std::string& local,
                                                              const std::string& target) {
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

std::string NativeFileSystem::pathBehindLinks(const LocalPath& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path.local, error)) {
        return path.local;
    }
    const auto linked = std::filesystem::canonical(path.local, error);
    if (error) {
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + path.quoted() + ": " + error.message());
    }
    return linked.string();
}

}  // namespace quorrel
