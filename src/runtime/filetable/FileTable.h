#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "BinaryFile.h"
#include "ByteBuffer.h"
#include "runtime/files/FileSystem.h"
#include "runtime/paths/PathResolver.h"

namespace quorrel {

// The number under which an open file is known: 1 to 32767.
using FileNumber = std::int16_t;

// Files opened under numbers, read at 1-based positions and closed by number. Every file still open
// is closed when the table is destroyed. Operations on a number that is not open throw
// std::invalid_argument: that is a fault of the caller, not of the file.
class FileTable {
  public:
    static constexpr FileNumber kHighestNumber = 32767;

    // A table of the files of `fileSystem`, the system's own unless a test hands in another.
    // Paths are resolved as PathResolver resolves them, which keeps the folder listings that
    // matching names ignoring case needs from one open to the next, while the folders stay
    // unchanged.
    explicit FileTable(FileSystem& fileSystem = FileSystem::native());

    // Marks a run of opens, such as one load, for as long as the returned object lives. A folder
    // listed to match a name ignoring case is listed once for the run, however often it changes
    // meanwhile, while what it found is still there (PathResolver::RunKeepingListings). And the
    // folder a file is opened in is held open for the run (FileSystem::holdFolder), so that a file
    // opened again and again is found by its name in it, its folder's path not walked each time:
    // the file is still opened afresh every time, but a folder renamed or replaced during the run
    // is followed from the next run on.
    class Run {
      public:
        explicit Run(FileTable& table) : listings_(table.resolver_), table_(table) {
            ++table_.runs_;
        }
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;
        ~Run() {
            if (--table_.runs_ == 0) {
                table_.heldFolder_.reset();
                table_.heldFolderPath_.reset();
            }
        }

      private:
        PathResolver::RunKeepingListings listings_;
        FileTable& table_;
    };
    [[nodiscard]] Run runKeepingListings() { return Run(*this); }

    // The lowest number that no open file uses. Throws an open-refused failure when all are taken.
    FileNumber freeNumber() const;

    // Opens `path` for reading under `number`, positioned at 1. Throws an open-refused failure
    // naming the path and the reason when it cannot be opened or is not a regular file.
    void open(FileNumber number, const std::string& path);

    // Closes the file; its number is free again. Closing a number that is not open does nothing.
    void close(FileNumber number) noexcept {
        if (isOpen(number)) {
            slots_[slotOf(number)].close();
        }
    }

    bool isOpen(FileNumber number) const noexcept {
        return number >= 1 && slotOf(number) < slots_.size() && slots_[slotOf(number)].isOpen();
    }
    std::size_t openCount() const noexcept;

    // The calls below are inline, as the load makes each of them for every record.

    // Whether the last read of the file reached past its end. The end is found by reading, so a
    // file that grows or shrinks while open ends where it ends at that moment.
    bool endOfFile(FileNumber number) { return file(number).endOfFile(); }
    std::int64_t position(FileNumber number) { return file(number).position(); }
    const std::string& path(FileNumber number) { return file(number).path(); }

    // Sized reads at a 1-based position, moving the position past what they read. Bytes past the
    // end of the file read as 0. A position below 1 throws a bad-read-position failure, a read
    // the system refuses a read-error failure. getBytes returns how many bytes the file held.
    void getByte(FileNumber number, std::int64_t position, std::uint8_t& field) {
        file(number).read(position, std::span<std::uint8_t>(&field, 1));
    }
    std::size_t getBytes(FileNumber number, std::int64_t position, std::span<std::uint8_t> field) {
        return file(number).read(position, field);
    }

    // Fills the buffer's held elements from `position` and moves the position past all of its
    // elements, held or not.
    void getBuffer(FileNumber number, std::int64_t position, ByteBuffer& buffer) {
        BinaryFile& binary = file(number);
        binary.read(position, buffer.stored());
        // The elements not held stay zero: the buffer's owner sized it so that no read reaching
        // them could change what it is used for.
        binary.skip(buffer.count() - static_cast<std::int64_t>(buffer.stored().size()));
    }

  private:
    static std::size_t slotOf(FileNumber number) noexcept {
        return static_cast<std::size_t>(number - 1);
    }

    BinaryFile& file(FileNumber number) {
        if (!isOpen(number)) {
            refuseNotOpen(number);
        }
        return slots_[slotOf(number)];
    }
    [[noreturn]] static void refuseNotOpen(FileNumber number);

    // The folder of `local` held for the run, and where its name in it starts; none outside a
    // run, for a path without a folder, or where the folder cannot be held.
    const HeldFolder* heldFolderOf(const std::string& local, std::size_t& nameAt);

    FileSystem& fileSystem_;
    PathResolver resolver_;
    std::vector<BinaryFile> slots_;  // slot i holds number i + 1, kept when it is closed
    unsigned runs_ = 0;
    std::unique_ptr<HeldFolder> heldFolder_;
    std::optional<std::string> heldFolderPath_;  // the folder asked for, held or not
};

}  // namespace quorrel
