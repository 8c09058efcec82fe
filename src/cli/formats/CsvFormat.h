#pragma once

#include <cstddef>
#include <string_view>

// The CSV format (RFC 4180), as both directions have it: the header, then one row per skill with
// its record number, its name and "true" or "false" for its check mark. Rows are written with
// CR LF; a name holding a comma, a quote or a line break is quoted, its quotes doubled.

namespace quorrel::cli::csv {

inline constexpr std::string_view kHeader = "record,name,checked";
inline constexpr std::size_t kColumns = 3;
inline constexpr std::string_view kRowEnd = "\r\n";
inline constexpr std::string_view kChecked = "true";
inline constexpr std::string_view kClear = "false";

}  // namespace quorrel::cli::csv
