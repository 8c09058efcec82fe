#pragma once

#include <istream>
#include <memory>
#include <streambuf>
#include <vector>

#include "FileSystem.h"

namespace quorrel {

// A file read through the file system as a standard input stream, so that a reader written for
// standard input reads a named file the same way, and faults injected into the file system reach
// it. A failure to open is thrown by the constructor (FileSystem::openStream); a failure to read
// makes the stream bad, as a standard stream's would.
class FileInput : public std::istream {
  public:
    FileInput(FileSystem& fileSystem, const LocalPath& file);

  private:
    class Buffer final : public std::streambuf {
      public:
        explicit Buffer(std::unique_ptr<ReadableStream> file);

      protected:
        int_type underflow() override;

      private:
        std::unique_ptr<ReadableStream> file_;
        std::vector<char> block_;
    };

    Buffer buffer_;
};

}  // namespace quorrel
