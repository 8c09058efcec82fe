#pragma once

namespace quorrel::cli {

// The exit statuses of quorrel-dump and quorrel-pack; scripts rely on them.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsageError = 2;

// Parsing the command line ended the program before it did its work: after --help or --version
// (status 0, or 1 when their text could not be written), or after a usage error (status 2). What
// the user should see has already been written.
struct EarlyExit {
    int status;
};

}  // namespace quorrel::cli
