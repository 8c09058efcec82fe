#pragma once

#include <sys/stat.h>

namespace quorrel {

// What a path that is not a regular file names instead ("a folder", "a pipe"), for the messages
// that refuse it; nullptr for a regular file. POSIX only.
inline const char* nonRegularKind(mode_t mode) {
    return S_ISREG(mode)    ? nullptr
           : S_ISDIR(mode)  ? "a folder"
           : S_ISCHR(mode)  ? "a character device"
           : S_ISBLK(mode)  ? "a block device"
           : S_ISFIFO(mode) ? "a pipe"
           : S_ISSOCK(mode) ? "a socket"
                            : "not a file";
}

}  // namespace quorrel
