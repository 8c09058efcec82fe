#include "OutputFile.h"

#include <optional>
#include <streambuf>
#include <utility>
#include <vector>

#include "TemporaryFile.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"

namespace quorrel {

// Gathers the stream's bytes and writes them to the file a block at a time, keeping the first
// failure for commit() to report: a stream only knows that it failed, not why.
class OutputFile::Buffer final : public std::streambuf {
  public:
    explicit Buffer(std::unique_ptr<WritableFile> file) : file_(std::move(file)), block_(kBlock) {
        setp(block_.data(), block_.data() + block_.size());
    }

    // Writes what is left and flushes the file to disk; throws the first failure.
    void finish() {
        if (sync() != 0) {
            throw *failure_;
        }
        file_->flush();
        file_.reset();
    }

  protected:
    int_type overflow(int_type character) override {
        if (sync() != 0) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(character, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(character);
            pbump(1);
        }
        return traits_type::not_eof(character);
    }

    int sync() override {
        if (failure_) {
            return -1;
        }
        try {
            file_->write({reinterpret_cast<const std::uint8_t*>(pbase()),
                          static_cast<std::size_t>(pptr() - pbase())});
        } catch (const Failure& failure) {
            failure_ = failure;
            return -1;
        }
        setp(block_.data(), block_.data() + block_.size());
        return 0;
    }

  private:
    static constexpr std::size_t kBlock = 64 * 1024;

    std::unique_ptr<WritableFile> file_;
    std::vector<char> block_;
    std::optional<Failure> failure_;
};

OutputFile::OutputFile(FileSystem& fileSystem, LocalPath target)
    : fileSystem_(fileSystem), target_(std::move(target)) {
    TemporaryFile temporary = createTemporaryBeside(fileSystem_, target_.local, target_.quoted());
    temporary_ = std::move(temporary.path);
    buffer_ = std::make_unique<Buffer>(std::move(temporary.file));
    stream_ = std::make_unique<std::ostream>(buffer_.get());
}

OutputFile::~OutputFile() {
    if (!committed_) {
        // Closed first: Windows removes no file that is open.
        stream_.reset();
        buffer_.reset();
        fileSystem_.remove(temporary_);
    }
}

std::ostream& OutputFile::stream() noexcept {
    return *stream_;
}

void OutputFile::commit() {
    buffer_->finish();
    fileSystem_.rename(temporary_, target_.local, true);
    committed_ = true;
}

}  // namespace quorrel
