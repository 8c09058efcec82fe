#include "WriteFaults.h"

#include <utility>

#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"

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

FileStatus FaultyWrites::statusOf(const std::string& local) noexcept {
    if (faults_->statusesFail) {
        return FileStatus{};  // Unknown
    }
    return FileSystemWrapper::statusOf(local);
}

std::unique_ptr<WritableFile> FaultyWrites::createNew(const std::string& local) {
    enterOperation(*faults_);
    auto file = FileSystemWrapper::createNew(local);
    if (!file) {
        return nullptr;
    }
    return std::make_unique<FaultyWritableFile>(std::move(file), local, faults_);
}

void FaultyWrites::keep(const std::string& from, const std::string& to) {
    enterOperation(*faults_);
    if (++faults_->keepsMade == faults_->failingKeep) {
        throw injected("cannot keep " + inQuotes(from) + " as " + inQuotes(to));
    }
    FileSystemWrapper::keep(from, to);
}

void FaultyWrites::rename(const std::string& from, const std::string& to, bool replace) {
    enterOperation(*faults_);
    const std::size_t rename = ++faults_->renamesMade;
    const std::size_t failing = faults_->failingRename;
    if (failing != 0 && (rename == failing || (faults_->laterRenamesFail && rename > failing))) {
        if (rename == failing && faults_->beforeFailingRename) {
            faults_->beforeFailingRename();
        }
        throw injected("cannot rename " + inQuotes(from) + " to " + inQuotes(to));
    }
    FileSystemWrapper::rename(from, to, replace);
}

bool FaultyWrites::remove(const std::string& local) noexcept {
    try {
        enterOperation(*faults_);
    } catch (const Stopped&) {
        return false;
    }
    return ++faults_->removesMade != faults_->failingRemove && FileSystemWrapper::remove(local);
}

LockAttempt FaultyWrites::tryLock(const std::string& local) {
    enterOperation(*faults_);
    return FileSystemWrapper::tryLock(local);
}

}  // namespace quorrel::fault
