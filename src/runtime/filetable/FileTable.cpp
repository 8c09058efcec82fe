#include "FileTable.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

#include "runtime/base/Failure.h"

namespace quorrel {

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
    if (slots_.size() <= slotOf(number)) {
        slots_.resize(slotOf(number) + 1);
    }
    BinaryFile& slot = slots_[slotOf(number)];
    // Resolved into the slot's own path: a run opening the same path under the same number, as
    // the load does the data file's, finds it there already.
    resolver_.resolve(path, slot.nextPath());
    const LocalPath& file = slot.nextPath();
    std::size_t nameAt = 0;
    if (const HeldFolder* folder = heldFolderOf(file.local, nameAt)) {
        slot.open(fileSystem_.reopenForReadingIn(*folder, file.local.c_str() + nameAt, file,
                                                 slot.takeClosedFile()));
    } else {
        slot.open(fileSystem_.reopenForReading(file, slot.takeClosedFile()));
    }
}

const HeldFolder* FileTable::heldFolderOf(const std::string& local, std::size_t& nameAt) {
    const std::size_t slash = local.rfind('/');
    if (runs_ == 0 || slash == std::string::npos || slash + 1 == local.size()) {
        return nullptr;
    }
    const std::string_view folder(local.data(), slash == 0 ? 1 : slash);
    if (heldFolderPath_ != folder) {
        // Let go first: memory running out below must not leave another folder's held one
        // standing for this path.
        heldFolder_.reset();
        heldFolderPath_.reset();
        heldFolderPath_ = folder;
        heldFolder_ = fileSystem_.holdFolder(*heldFolderPath_);
    }
    nameAt = slash + 1;
    return heldFolder_.get();
}

std::size_t FileTable::openCount() const noexcept {
    return static_cast<std::size_t>(std::count_if(
        slots_.begin(), slots_.end(), [](const BinaryFile& slot) { return slot.isOpen(); }));
}

void FileTable::refuseNotOpen(FileNumber number) {
    throw std::invalid_argument("file number " + std::to_string(number) + " is not open");
}

}  // namespace quorrel
