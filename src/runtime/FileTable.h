#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "BinaryFile.h"
#include "ByteBuffer.h"

namespace quorrel {

// The number under which an open file is known: 1 to 32767.
using FileNumber = std::int16_t;

// Files opened under numbers, read at 1-based positions and closed by number. Every file still open
// is closed when the table is destroyed. Operations on a number that is not open throw
// std::invalid_argument: that is a fault of the caller, not of the file.
class FileTable {
  public:
    static constexpr FileNumber kHighestNumber = 32767;

    // The lowest number that no open file uses. Throws an open-refused failure when all are taken.
    FileNumber freeNumber() const;

    // Opens `path` for reading under `number`, positioned at 1. Throws an open-refused failure
    // naming the path and the system's reason when the file cannot be opened.
    void open(FileNumber number, const std::string& path);

    // Closes the file; its number is free again. Closing a number that is not open does nothing.
    void close(FileNumber number) noexcept;

    bool isOpen(FileNumber number) const noexcept;
    std::size_t openCount() const noexcept;

    bool endOfFile(FileNumber number);
    std::int64_t position(FileNumber number);
    std::uint64_t size(FileNumber number);
    const std::string& path(FileNumber number);

    // Bytes from the position to the end of the file; 0 when the position lies past the end.
    std::uint64_t remaining(FileNumber number);

    // Sized reads at a 1-based position, moving the position past what they read. Bytes past the
    // end of the file read as 0. A position below 1 throws a bad-read-position failure.
    void getInt32(FileNumber number, std::int64_t position, std::int32_t& field);
    void getByte(FileNumber number, std::int64_t position, std::uint8_t& field);
    void getBytes(FileNumber number, std::int64_t position, std::span<std::uint8_t> field);

    // Fills the buffer's held elements from `position` and moves the position past all of its
    // elements, held or not.
    void getBuffer(FileNumber number, std::int64_t position, ByteBuffer& buffer);

  private:
    BinaryFile& file(FileNumber number);

    std::vector<std::optional<BinaryFile>> slots_;  // slot i holds number i + 1
};

}  // namespace quorrel
