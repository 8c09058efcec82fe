#pragma once

#include <cstddef>
#include <memory>

#include "runtime/FileWriter.h"

namespace quorrel::fault {

// What goes wrong with the operations of a FaultyFileWriter. Each kind is counted from 1 across
// all files, in the order the calls are made; 0 means no failure of that kind.
struct WriteFaults {
    std::size_t failingWrite = 0;   // this write fails as a full disk would
    std::size_t failingFlush = 0;   // this flush to disk fails
    std::size_t failingRename = 0;  // this rename fails and is not done
    bool laterRenamesFail = false;  // and so does every rename after it
    std::size_t writesMade = 0;
    std::size_t flushesMade = 0;
    std::size_t renamesMade = 0;
};

// Writes the system's own files, whose operations then go wrong as `faults` says. A failing
// operation throws the write-error failure the system's would and changes nothing.
class FaultyFileWriter final : public FileWriter {
  public:
    explicit FaultyFileWriter(std::shared_ptr<WriteFaults> faults);
    ~FaultyFileWriter() override;

    TargetPath locate(const std::string& typed) override;
    bool exists(const std::string& local) override;
    std::unique_ptr<WritableFile> createNew(const std::string& local) override;
    void rename(const std::string& from, const std::string& to, bool replace) override;
    bool remove(const std::string& local) noexcept override;

  private:
    std::unique_ptr<FileWriter> native_;
    std::shared_ptr<WriteFaults> faults_;
};

}  // namespace quorrel::fault
