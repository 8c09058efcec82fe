#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "runtime/files/FileSystem.h"

namespace quorrel {

// A file written as a stream and put in place whole. Its bytes go to a new hidden temporary file
// beside the target (".NAME.quorrel-new-TAG", as SideNames names them); commit() flushes that to
// disk and renames it over the target in one step, so the target is always its old file or the
// new one whole, never a part of it. Gone without commit(), it removes the temporary file, and
// the target is as it was. A stop of the whole process (a power cut, a kill) can leave the
// temporary file beside the target, never a part of it in the target's place.
class OutputFile {
  public:
    // Throws a write-error failure when no temporary file can be made beside the target.
    OutputFile(FileSystem& fileSystem, LocalPath target);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // Where the bytes go. A write that fails makes the stream fail, and commit() say why.
    std::ostream& stream() noexcept;

    // Puts the file in place of the target. Throws a write-error failure naming the file and the
    // system's reason when a write, the flush or the rename failed; the target is then as it was.
    void commit();

  private:
    class Buffer;

    FileSystem& fileSystem_;
    LocalPath target_;
    std::string temporary_;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
    bool committed_ = false;
};

}  // namespace quorrel
