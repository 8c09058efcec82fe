#pragma once

#include <string_view>

namespace quorrel::cli {

// "-" as a file names standard input to quorrel-pack's --from and standard output to
// quorrel-dump's --output, as it does to most command-line programs.
inline constexpr std::string_view kStandardStream = "-";

}  // namespace quorrel::cli
