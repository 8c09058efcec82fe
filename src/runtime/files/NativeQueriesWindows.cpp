#include <vector>

#include "NativeFileSystem.h"
#include "runtime/base/Failure.h"
#include "runtime/system/SystemMessageWindows.h"
#include "runtime/system/UniqueHandleWindows.h"
#include "runtime/system/WideTextWindows.h"
#include "runtime/system/WindowsApi.h"

namespace quorrel {
namespace {

// Opens a file or a folder only to ask about it, shared with everyone.
UniqueHandle openToAsk(const std::string& local) {
    return UniqueHandle(CreateFileW(wideFromUtf8(local).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

Failure cannotWrite(const LocalPath& target, const std::string& reason) {
    return Failure(FailureKind::WriteError, "cannot write " + target.quoted() + ": " + reason);
}

FileIdentity identityFrom(const BY_HANDLE_FILE_INFORMATION& information) {
    return {
        information.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

}  // namespace

FileStatus NativeFileSystem::statusOf(const std::string& local) noexcept {
    try {
        const UniqueHandle handle = openToAsk(local);
        BY_HANDLE_FILE_INFORMATION information{};
        if (!handle || !GetFileInformationByHandle(handle.get(), &information)) {
            const DWORD error = GetLastError();
            return {error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                        ? FileStatus::Presence::Missing
                        : FileStatus::Presence::Unknown,
                    {},
                    0};
        }
        // A FILETIME counts tenths of microseconds since 1601.
        constexpr std::int64_t kTicksTo1970 = 116'444'736'000'000'000;
        const FILETIME written = information.ftLastWriteTime;
        const auto ticks = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime);
        return {FileStatus::Presence::There, identityFrom(information),
                (ticks - kTicksTo1970) * 100};
    } catch (...) {
        // Memory ran out for the path's UTF-16 form.
        return {FileStatus::Presence::Unknown, {}, 0};
    }
}

std::optional<FileIdentity> NativeFileSystem::inspectTarget(const LocalPath& target) {
    UniqueHandle handle = openToAsk(target.local);
    if (!handle) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            throw cannotWrite(target, systemMessage(error));
        }
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool disk = GetFileType(handle.get()) == FILE_TYPE_DISK;
    const bool known = disk && GetFileInformationByHandle(handle.get(), &information);
    const DWORD error = GetLastError();
    handle.reset();
    if (!disk) {
        throw cannotWrite(target, "it is a device or a pipe, not a regular file");
    }
    if (!known) {
        throw cannotWrite(target, systemMessage(error));
    }
    if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        throw cannotWrite(target, "it is a folder, not a regular file");
    }
    return identityFrom(information);
}

std::optional<std::string> NativeFileSystem::whyNotMadeByARun(const std::string& local,
                                                              const std::string&) {
    const DWORD attributes = GetFileAttributesW(wideFromUtf8(local).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return "it cannot be looked at: " + systemMessage(GetLastError());
    }
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return std::string("it is a link");
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return std::string("it is a folder");
    }
    return std::nullopt;
}

// On Windows the path is written as it is.
std::string NativeFileSystem::pathBehindLinks(const LocalPath& path) {
    return path.local;
}

}  // namespace quorrel
