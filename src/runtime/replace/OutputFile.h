#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "InterruptedRuns.h"
#include "runtime/files/FileSystem.h"

namespace quorrel {

// A file written as a stream and put in place whole, under the target's lock (as quorrel-pack
// takes it), which also lets it remove what killed runs left beside the target. Its bytes go to a
// new hidden temporary file beside the target (".NAME.quorrel-new-TAG", as SideNames names them);
// commit() gives it what `sed -i` keeps of the old file, flushes it to disk and renames it over
// the target in one step, so the target is always its old file or the new one whole, never a part
// of it. Gone without commit(), it removes the temporary file, and the target is as it was; so
// does a request to stop (InterruptionsHeld, which the caller holds), at the next block written.
// A stop of the whole process (a power cut, a kill) can leave the temporary file beside the
// target, never a part of it in the target's place; the next OutputFile there removes it.
class OutputFile {
  public:
    // Takes the target's lock, waiting for a run that holds it (`waiting` says so), and makes a
    // temporary file. Throws a write-error failure when the lock cannot be had or no temporary
    // file can be made beside the target, and Interrupted when a request to stop ends the wait.
    OutputFile(FileSystem& fileSystem, LocalPath target,
               const std::function<void(const LocalPath&)>& waiting);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // Where the bytes go. A write that fails makes the stream fail, and commit() say why.
    std::ostream& stream() noexcept;

    // What killed runs left beside the target that is not removed, for the caller to say.
    const LeftBeside& leftBeside() const noexcept { return left_; }

    // Puts the file in place of the target; what the new file could not keep of the old one, in a
    // line. Throws a write-error failure naming the file and the system's reason when a write,
    // the flush or the rename failed, or Interrupted after a request to stop; the target is then
    // as it was.
    std::optional<std::string> commit();

  private:
    class Buffer;

    FileSystem& fileSystem_;
    LocalPath target_;
    std::unique_ptr<HeldLock> lock_;
    LeftBeside left_;
    std::string temporary_;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
    bool committed_ = false;
};

}  // namespace quorrel
