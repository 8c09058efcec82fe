#include "FileTable.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "runtime/base/Failure.h"

namespace quorrel {
namespace {

std::size_t slotOf(FileNumber number) {
    return static_cast<std::size_t>(number - 1);
}

}  // namespace

FileTable::FileTable(FileSystem& fileSystem) : fileSystem_(fileSystem), resolver_(fileSystem) {}

FileNumber FileTable::freeNumber() const {
    const auto freeSlot = std::find_if(slots_.begin(), slots_.end(),
                                       [](const BinaryFile& slot) { return !slot.isOpen(); });
    const auto index = static_cast<std::size_t>(freeSlot - slots_.begin());
    if (index >= static_cast<std::size_t>(kHighestNumber)) {
        throw Failure(FailureKind::OpenRefused,
                      "no free file number: " + std::to_string(kHighestNumber) + " files are open");
    }
    return static_cast<FileNumber>(index + 1);
}

void FileTable::open(FileNumber number, const std::string& path) {
    if (number < 1 || number > kHighestNumber) {
        throw std::invalid_argument("file number " + std::to_string(number) + " is out of range");
    }
    if (isOpen(number)) {
        throw std::invalid_argument("file number " + std::to_string(number) + " is already open");
    }
    resolver_.resolve(path, resolved_);
    if (slots_.size() <= slotOf(number)) {
        slots_.resize(slotOf(number) + 1);
    }
    BinaryFile& slot = slots_[slotOf(number)];
    slot.open(fileSystem_.reopenForReading(resolved_, slot.takeClosedFile()), path);
}

void FileTable::close(FileNumber number) noexcept {
    if (isOpen(number)) {
        slots_[slotOf(number)].close();
    }
}

bool FileTable::isOpen(FileNumber number) const noexcept {
    return number >= 1 && slotOf(number) < slots_.size() && slots_[slotOf(number)].isOpen();
}

std::size_t FileTable::openCount() const noexcept {
    return static_cast<std::size_t>(std::count_if(
        slots_.begin(), slots_.end(), [](const BinaryFile& slot) { return slot.isOpen(); }));
}

BinaryFile& FileTable::file(FileNumber number) {
    if (!isOpen(number)) {
        throw std::invalid_argument("file number " + std::to_string(number) + " is not open");
    }
    return slots_[slotOf(number)];
}

bool FileTable::endOfFile(FileNumber number) {
    return file(number).endOfFile();
}

std::int64_t FileTable::position(FileNumber number) {
    return file(number).position();
}

const std::string& FileTable::path(FileNumber number) {
    return file(number).path();
}

void FileTable::getByte(FileNumber number, std::int64_t position, std::uint8_t& field) {
    file(number).read(position, std::span<std::uint8_t>(&field, 1));
}

std::size_t FileTable::getBytes(FileNumber number, std::int64_t position,
                                std::span<std::uint8_t> field) {
    return file(number).read(position, field);
}

void FileTable::getBuffer(FileNumber number, std::int64_t position, ByteBuffer& buffer) {
    BinaryFile& binary = file(number);
    binary.read(position, buffer.stored());
    // The elements not held stay zero: the buffer's owner sized it so that no read reaching them
    // could change what it is used for.
    binary.skip(buffer.count() - static_cast<std::int64_t>(buffer.stored().size()));
}

}  // namespace quorrel
