#include "WriteFaults.h"

#include <utility>

#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/files/NativeFileWriter.h"

namespace quorrel::fault {
namespace {

Failure injected(const std::string& what) {
    return Failure(FailureKind::WriteError, what + ": Input/output error (injected)");
}

class FaultyWritableFile final : public WritableFile {
  public:
    FaultyWritableFile(std::unique_ptr<WritableFile> file, std::string path,
                       std::shared_ptr<WriteFaults> faults)
        : file_(std::move(file)), path_(std::move(path)), faults_(std::move(faults)) {}

    void write(std::span<const std::uint8_t> bytes) override {
        enterOperation(*faults_);
        if (++faults_->writesMade == faults_->failingWrite) {
            throw injected("cannot write " + inQuotes(path_));
        }
        file_->write(bytes);
    }

    void flush() override {
        enterOperation(*faults_);
        if (++faults_->flushesMade == faults_->failingFlush) {
            throw injected("cannot flush " + inQuotes(path_) + " to disk");
        }
        file_->flush();
    }

  private:
    std::unique_ptr<WritableFile> file_;
    std::string path_;
    std::shared_ptr<WriteFaults> faults_;
};

}  // namespace

void enterOperation(WriteFaults& faults) {
    ++faults.operationsMade;
    if (faults.stoppingOperation != 0 && faults.operationsMade >= faults.stoppingOperation) {
        throw Stopped();
    }
}

FaultyFileWriter::FaultyFileWriter(std::shared_ptr<WriteFaults> faults)
    : native_(std::make_unique<NativeFileWriter>()), faults_(std::move(faults)) {}

FaultyFileWriter::~FaultyFileWriter() = default;

TargetPath FaultyFileWriter::locate(const std::string& typed) {
    return native_->locate(typed);
}

std::unique_ptr<WritableFile> FaultyFileWriter::createNew(const std::string& local) {
    enterOperation(*faults_);
    auto file = native_->createNew(local);
    if (!file) {
        return nullptr;
    }
    return std::make_unique<FaultyWritableFile>(std::move(file), local, faults_);
}

void FaultyFileWriter::keep(const std::string& from, const std::string& to) {
    enterOperation(*faults_);
    if (++faults_->keepsMade == faults_->failingKeep) {
        throw injected("cannot keep " + inQuotes(from) + " as " + inQuotes(to));
    }
    native_->keep(from, to);
}

void FaultyFileWriter::rename(const std::string& from, const std::string& to, bool replace) {
    enterOperation(*faults_);
    const std::size_t rename = ++faults_->renamesMade;
    const std::size_t failing = faults_->failingRename;
    if (failing != 0 && (rename == failing || (faults_->laterRenamesFail && rename > failing))) {
        if (rename == failing && faults_->beforeFailingRename) {
            faults_->beforeFailingRename();
        }
        throw injected("cannot rename " + inQuotes(from) + " to " + inQuotes(to));
    }
    native_->rename(from, to, replace);
}

bool FaultyFileWriter::remove(const std::string& local) noexcept {
    try {
        enterOperation(*faults_);
    } catch (const Stopped&) {
        return false;
    }
    return ++faults_->removesMade != faults_->failingRemove && native_->remove(local);
}

std::unique_ptr<HeldLock> FaultyFileWriter::lock(const std::string& local,
                                                 const std::function<void()>& waiting) {
    enterOperation(*faults_);
    return native_->lock(local, waiting);
}

LockState FaultyFileWriter::lockState(const std::string& local) noexcept {
    return native_->lockState(local);
}

}  // namespace quorrel::fault
