#pragma once

#include "FileWriter.h"
#include "runtime/paths/PathResolver.h"

namespace quorrel {

// Writes the system's own files. Off Windows, drive-letter paths lead into the Wine prefix as
// they do for reading: the folder must exist there, and a file whose name matches ignoring case
// is the one written, so that the file Quorrel reads back is the one it wrote.
class NativeFileWriter final : public FileWriter {
  public:
    TargetPath locate(const std::string& typed) override;
    std::unique_ptr<WritableFile> createNew(const std::string& local) override;
    void keep(const std::string& from, const std::string& to) override;
    void rename(const std::string& from, const std::string& to, bool replace) override;
    bool remove(const std::string& local) noexcept override;
    std::unique_ptr<HeldLock> lock(const std::string& local,
                                   const std::function<void()>& waiting) override;
    LockState lockState(const std::string& local) noexcept override;

  private:
    PathResolver resolver_;
};

}  // namespace quorrel
