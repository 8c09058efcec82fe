#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quorrel {

// A file read from start to end, as a list is: a regular file, a pipe or a terminal alike.
class ReadableStream {
  public:
    virtual ~ReadableStream() = default;

    // Reads the next bytes into `into`, as many as are there now, at least one; 0 at the end.
    // Throws a read-error failure naming the file and the system's reason.
    virtual std::size_t read(std::span<std::uint8_t> into) = 0;
};

}  // namespace quorrel
