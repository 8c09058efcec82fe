#pragma once

namespace quorrel::cli {

// The exit statuses of quorrel-dump and quorrel-pack; scripts rely on them.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitLoadFailed = kExitFailed;
inline constexpr int kExitUsageError = 2;

inline constexpr const char* kProgramName = "quorrel-dump";
inline constexpr const char* kPackProgramName = "quorrel-pack";

}  // namespace quorrel::cli
