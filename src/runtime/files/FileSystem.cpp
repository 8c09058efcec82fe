#include "FileSystem.h"

namespace quorrel {

std::optional<FileIdentity> FileSystem::identityOf(const std::string& local) noexcept {
    const FileStatus status = statusOf(local);
    // Windows numbers no device or pipe: two of them are not one file by that.
    if (status.presence != FileStatus::Presence::There || status.kind == FileKind::DeviceOrPipe) {
        return std::nullopt;
    }
    return status.identity;
}

std::optional<std::vector<std::uint8_t>> FileSystem::readWholeFile(const LocalPath& file,
                                                                   std::uint64_t largest) {
    const std::unique_ptr<ReadableFile> opened = openForReading(file);
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t kPiece = 64 * 1024;
    for (;;) {
        const std::size_t had = bytes.size();
        bytes.resize(had + kPiece);
        const std::size_t got = opened->readAt(had, std::span(bytes).subspan(had));
        bytes.resize(had + got);
        if (bytes.size() > largest) {
            return std::nullopt;
        }
        if (got < kPiece) {
            return bytes;
        }
    }
}

}  // namespace quorrel
