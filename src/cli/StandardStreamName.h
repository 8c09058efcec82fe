#pragma once

#include <string_view>

namespace quorrel::cli {

// "-" as a file names standard input to quorrel-pack's --from and standard output to
// quorrel-dump's --output, as it does to most command-line programs.
inline constexpr std::string_view kStandardStream = "-";

// Whether --output names standard output: "-", or off Windows the names the system gives it
// (/dev/stdout, /dev/fd/1, /proc/self/fd/1). Written to as a stream, it is appended to where it
// was opened to append (">>"); replaced as a file, the file it is open on would lose what it held.
constexpr bool namesStandardOutput(std::string_view path) {
#ifdef _WIN32
    return path == kStandardStream;
#else
    return path == kStandardStream || path == "/dev/stdout" || path == "/dev/fd/1" ||
           path == "/proc/self/fd/1";
#endif
}

}  // namespace quorrel::cli
