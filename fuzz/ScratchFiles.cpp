#include "ScratchFiles.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace quorrel::fuzz {
namespace {

int memoryFile(const char* name) {
    const int descriptor = ::memfd_create(name, MFD_CLOEXEC);
    if (descriptor < 0) {
        throw std::runtime_error(std::string("cannot make an in-memory file: ") +
                                 std::strerror(errno));
    }
    return descriptor;
}

}  // namespace

ScratchFiles::ScratchFiles() : index_(memoryFile("skills.idx")), data_(memoryFile("skills.mul")) {}

ScratchFiles::~ScratchFiles() {
    ::close(index_);
    ::close(data_);
}

std::string ScratchFiles::fill(int descriptor, std::span<const std::uint8_t> bytes) {
    const bool filled =
        ::ftruncate(descriptor, 0) == 0 &&
        ::pwrite(descriptor, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
    if (!filled) {
        throw std::runtime_error(std::string("cannot fill an in-memory file: ") +
                                 std::strerror(errno));
    }
    return "/proc/self/fd/" + std::to_string(descriptor);
}

}  // namespace quorrel::fuzz
