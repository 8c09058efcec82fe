#include "SyscallFloor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace quorrel::bench {
namespace {

// The flags the load action opens files with.
constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
constexpr std::size_t kIndexPiece = 64 * 1024;
constexpr std::size_t kRecordSize = 12;

std::int32_t int32At(const std::uint8_t* bytes) {
    return static_cast<std::int32_t>(std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
                                     (std::uint32_t{bytes[2]} << 16) |
                                     (std::uint32_t{bytes[3]} << 24));
}

int openOrThrow(const std::string& path) {
    const int descriptor = ::open(path.c_str(), kOpenFlags);
    if (descriptor < 0) {
        throw std::runtime_error("cannot open " + path);
    }
    return descriptor;
}

// Calls `record(offset, length)` for each used record of the index file.
template <typename PerRecord>
std::size_t forEachUsedRecord(const std::string& indexPath, PerRecord record) {
    const int index = openOrThrow(indexPath);
    // A piece holds whole records, so none is split between two reads.
    std::vector<std::uint8_t> piece(kIndexPiece / kRecordSize * kRecordSize);
    std::size_t used = 0;
    off_t at = 0;
    for (;;) {
        const ssize_t got = ::pread(index, piece.data(), piece.size(), at);
        if (got < static_cast<ssize_t>(kRecordSize)) {
            break;
        }
        at += got;
        for (std::size_t start = 0; start + kRecordSize <= static_cast<std::size_t>(got);
             start += kRecordSize) {
            const std::int32_t offset = int32At(&piece[start]);
            const std::int32_t length = int32At(&piece[start + 4]);
            if (offset != -1 && length != 0) {
                record(offset, length);
                ++used;
            }
        }
    }
    ::close(index);
    return used;
}

}  // namespace

std::size_t floorLoad(const TablePaths& table) {
    std::vector<std::uint8_t> name(256);
    return forEachUsedRecord(table.index, [&](std::int32_t offset, std::int32_t length) {
        name.resize(static_cast<std::size_t>(length));
        const int data = openOrThrow(table.data);
        std::uint8_t flag = 0;
        (void)::pread(data, &flag, 1, offset);
        (void)::pread(data, name.data(), name.size(), offset + 1);
        ::close(data);
    });
}

std::size_t floorLoadOneRead(const TablePaths& table) {
    std::vector<std::uint8_t> record(256);
    return forEachUsedRecord(table.index, [&](std::int32_t offset, std::int32_t length) {
        record.resize(static_cast<std::size_t>(length) + 1);
        const int data = openOrThrow(table.data);
        (void)::pread(data, record.data(), record.size(), offset);
        ::close(data);
    });
}

std::size_t floorLoadOwnCalls(const TablePaths& table) {
    std::array<std::uint8_t, 256> window{};
    return forEachUsedRecord(table.index, [&](std::int32_t offset, std::int32_t /*length*/) {
        const int data = openOrThrow(table.data);
        struct stat status {};
        (void)::fstat(data, &status);
        (void)::pread(data, window.data(), window.size(), offset);
        ::close(data);
    });
}

}  // namespace quorrel::bench
