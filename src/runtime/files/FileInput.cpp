#include "FileInput.h"

#include <utility>

namespace quorrel {

FileInput::Buffer::Buffer(std::unique_ptr<ReadableStream> file)
    : file_(std::move(file)), block_(64 * 1024) {
    setg(block_.data(), block_.data(), block_.data());
}

std::streambuf::int_type FileInput::Buffer::underflow() {
    // A read that throws makes the stream bad: std::istream catches what a buffer throws.
    const std::size_t got =
        file_->read({reinterpret_cast<std::uint8_t*>(block_.data()), block_.size()});
    if (got == 0) {
        return traits_type::eof();
    }
    setg(block_.data(), block_.data(), block_.data() + got);
    return traits_type::to_int_type(block_.front());
}

FileInput::FileInput(FileSystem& fileSystem, const LocalPath& file)
    : std::istream(nullptr), buffer_(fileSystem.openStream(file)) {
    rdbuf(&buffer_);
}

}  // namespace quorrel
