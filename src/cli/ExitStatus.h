#pragma once

namespace quorrel::cli {

// quorrel-dump's exit statuses; scripts rely on them.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitLoadFailed = 1;
inline constexpr int kExitUsageError = 2;

inline constexpr const char* kProgramName = "quorrel-dump";

}  // namespace quorrel::cli
