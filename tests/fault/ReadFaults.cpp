#include "ReadFaults.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"

namespace quorrel::fault {
namespace {

class FaultyFile final : public ReadableFile {
  public:
    FaultyFile(std::unique_ptr<ReadableFile> file, std::string path,
               std::shared_ptr<ReadFaults> faults)
        : file_(std::move(file)), path_(std::move(path)), faults_(std::move(faults)) {}

    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
        const std::size_t read = ++faults_->readsMade;
        if (read == faults_->failingRead) {
            throw Failure(FailureKind::ReadError,
                          "cannot read " + inQuotes(path_) + ": Input/output error (injected)");
        }
        if (read == faults_->cuttingRead) {
            cutAt_ = faults_->cutToBytes;
        }
        if (cutAt_) {
            const std::uint64_t left = offset >= *cutAt_ ? 0 : *cutAt_ - offset;
            into = into.first(static_cast<std::size_t>(std::min<std::uint64_t>(into.size(), left)));
        }
        return file_->readAt(offset, into);
    }

  private:
    std::optional<std::uint64_t> cutAt_;
    std::unique_ptr<ReadableFile> file_;
    std::string path_;
    std::shared_ptr<ReadFaults> faults_;
};

}  // namespace

std::unique_ptr<ReadableFile> FaultyReads::openForReading(const LocalPath& file) {
    return std::make_unique<FaultyFile>(FileSystemWrapper::openForReading(file), file.typed,
                                        faults_);
}

}  // namespace quorrel::fault
