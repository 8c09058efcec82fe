#include <algorithm>

#include "NativeFileSystem.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/system/SystemMessageWindows.h"
#include "runtime/system/UniqueHandleWindows.h"
#include "runtime/system/WideTextWindows.h"
#include "runtime/system/WindowsApi.h"

// The Windows half of the file system: what the system does for each call, and nothing more.
// What is decided on top of it (the target checks, whose files a run may remove, how long a lock
// is waited for) is written once, above the seam, in the run-time's replace room.

namespace quorrel {
namespace {

// Opens a file or a folder only to ask about it, shared with everyone.
UniqueHandle openToAsk(const std::string& local) {
    return UniqueHandle(CreateFileW(wideFromUtf8(local).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

FileIdentity identityFrom(const BY_HANDLE_FILE_INFORMATION& information) {
    return {
        information.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

FileStatus notThere(DWORD error) {
    FileStatus status;
    status.presence = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                          ? FileStatus::Presence::Missing
                          : FileStatus::Presence::Unknown;
    status.reason = systemMessage(error);
    return status;
}

Failure writeError(const std::string& what, DWORD error) {
    return Failure(FailureKind::WriteError, what + ": " + systemMessage(error));
}

class WindowsWritableFile final : public WritableFile {
  public:
    WindowsWritableFile(UniqueHandle file, std::string path)
        : file_(std::move(file)), path_(std::move(path)) {}

    void write(std::span<const std::uint8_t> bytes) override {
        while (!bytes.empty()) {
            const auto wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!WriteFile(file_.get(), bytes.data(), wanted, &written, nullptr)) {
                throw writeError("cannot write " + inQuotes(path_), GetLastError());
            }
            bytes = bytes.subspan(written);
        }
    }

    void flush() override {
        if (!FlushFileBuffers(file_.get())) {
            throw writeError("cannot flush " + inQuotes(path_) + " to disk", GetLastError());
        }
    }

  private:
    UniqueHandle file_;
    std::string path_;
};

// The lock's file, open with no sharing at all: while it is open, nobody else can open it. It
// goes when the handle is closed, by the system itself when the process ends, however it ends.
class WindowsLock final : public HeldLock {
  public:
    explicit WindowsLock(UniqueHandle file) : file_(std::move(file)) {}

  private:
    UniqueHandle file_;
};

// A file read from start to end, which owns its handle.
class WindowsStream final : public ReadableStream {
  public:
    WindowsStream(UniqueHandle handle, std::string name)
        : handle_(std::move(handle)), name_(std::move(name)) {}

    std::size_t read(std::span<std::uint8_t> into) override {
        const auto wanted = static_cast<DWORD>(std::min<std::size_t>(into.size(), 1u << 30));
        DWORD got = 0;
        if (!ReadFile(handle_.get(), into.data(), wanted, &got, nullptr)) {
            const DWORD error = GetLastError();
            // A pipe whose writer has gone has ended.
            if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
                return 0;
            }
            throw Failure(FailureKind::ReadError,
                          "cannot read " + name_ + ": " + systemMessage(error));
        }
        return got;
    }

  private:
    UniqueHandle handle_;
    std::string name_;
};

}  // namespace

// Reading

std::unique_ptr<ReadableStream> NativeFileSystem::openStream(const LocalPath& file) {
    UniqueHandle handle(CreateFileW(wideFromUtf8(file.local).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + file.quoted() + ": " + systemMessage(GetLastError()));
    }
    return std::make_unique<WindowsStream>(std::move(handle), file.quoted());
}

FileStatus NativeFileSystem::statusOf(const std::string& local) noexcept {
    try {
        const UniqueHandle handle = openToAsk(local);
        if (!handle) {
            return notThere(GetLastError());
        }
        if (GetFileType(handle.get()) != FILE_TYPE_DISK) {
            FileStatus device;
            device.presence = FileStatus::Presence::There;
            device.kind = FileKind::DeviceOrPipe;
            return device;
        }
        BY_HANDLE_FILE_INFORMATION information{};
        if (!GetFileInformationByHandle(handle.get(), &information)) {
            return notThere(GetLastError());
        }
        // A FILETIME counts tenths of microseconds since 1601.
        constexpr std::int64_t kTicksTo1970 = 116'444'736'000'000'000;
        const FILETIME written = information.ftLastWriteTime;
        const auto ticks = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime);
        FileStatus status;
        status.presence = FileStatus::Presence::There;
        status.identity = identityFrom(information);
        status.changed = (ticks - kTicksTo1970) * 100;
        status.kind = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                          ? FileKind::Folder
                          : FileKind::Regular;
        return status;
    } catch (...) {
        // Memory ran out for the path's UTF-16 form.
        return FileStatus{};  // Unknown
    }
}

FileStatus NativeFileSystem::entryStatusOf(const std::string& local) noexcept {
    try {
        const DWORD attributes = GetFileAttributesW(wideFromUtf8(local).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return notThere(GetLastError());
        }
        FileStatus status;
        status.presence = FileStatus::Presence::There;
        status.kind = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? FileKind::Link
                      : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0   ? FileKind::Folder
                                                                       : FileKind::Regular;
        return status;
    } catch (...) {
        return FileStatus{};  // Unknown
    }
}

// Windows gives files no owner by number.
std::optional<std::uint32_t> NativeFileSystem::currentUser() noexcept {
    return std::nullopt;
}

// On Windows the path is written as it is.
std::string NativeFileSystem::pathBehindLinks(const LocalPath& path) {
    return path.local;
}

// Changing

std::unique_ptr<WritableFile> NativeFileSystem::createNew(const std::string& local) {
    UniqueHandle file(CreateFileW(wideFromUtf8(local).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            return nullptr;
        }
        throw writeError("cannot create " + inQuotes(local), error);
    }
    try {
        return std::make_unique<WindowsWritableFile>(std::move(file), local);
    } catch (...) {
        file.reset();
        DeleteFileW(wideFromUtf8(local).c_str());
        throw;
    }
}

void NativeFileSystem::rename(const std::string& from, const std::string& to, bool replace) {
    // Write-through: the call returns only once the rename is on disk.
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!MoveFileExW(wideFromUtf8(from).c_str(), wideFromUtf8(to).c_str(), flags)) {
        throw writeError("cannot rename " + inQuotes(from) + " to " + inQuotes(to), GetLastError());
    }
}

void NativeFileSystem::keep(const std::string& from, const std::string& to) {
    const std::wstring source = wideFromUtf8(from);
    const std::wstring copy = wideFromUtf8(to);
    if (CreateHardLinkW(copy.c_str(), source.c_str(), nullptr)) {
        return;
    }
    // Hard links are missing (FAT, exFAT, some network shares): a copy does as well.
    if (!CopyFileW(source.c_str(), copy.c_str(), TRUE)) {
        throw writeError("cannot keep " + inQuotes(from) + " as " + inQuotes(to), GetLastError());
    }
    UniqueHandle copied(CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    const bool flushed = copied && FlushFileBuffers(copied.get());
    const DWORD error = GetLastError();
    copied.reset();
    if (!flushed) {
        DeleteFileW(copy.c_str());
        throw writeError("cannot flush " + inQuotes(to) + " to disk", error);
    }
}

bool NativeFileSystem::remove(const std::string& local) noexcept {
    try {
        return DeleteFileW(wideFromUtf8(local).c_str()) != 0;
    } catch (...) {
        return false;
    }
}

// Locking

LockAttempt NativeFileSystem::tryLock(const std::string& local) {
    UniqueHandle file(CreateFileW(wideFromUtf8(local).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                  nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (file) {
        return {std::make_unique<WindowsLock>(std::move(file)), false, {}};
    }
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION) {
        return {nullptr, true, {}};
    }
    // A lock file being removed is refused to open as if access were denied.
    if (error == ERROR_ACCESS_DENIED) {
        return {nullptr, false, systemMessage(error)};
    }
    throw Failure(FailureKind::WriteError,
                  "cannot lock " + inQuotes(local) + ": " + systemMessage(error));
}

LockState NativeFileSystem::lockState(const std::string& local) noexcept {
    try {
        // A run holds its lock file open with no sharing at all, so that no one can open it.
        const UniqueHandle file(CreateFileW(wideFromUtf8(local).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
        if (file) {
            return LockState::Free;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return LockState::Free;
        }
        return error == ERROR_SHARING_VIOLATION ? LockState::Held : LockState::Unknown;
    } catch (...) {
        return LockState::Unknown;
    }
}

}  // namespace quorrel
