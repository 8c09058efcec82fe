#pragma once

#include <cstddef>
#include <string_view>

// The CSV format (RFC 4180), as both directions have it: the header, then one row per index
// record: a skill's row holds its record number, its name, "true" or "false" for its check mark
// and its flag byte; an empty slot's row holds its record number alone ("7,,,"), so that a
// spreadsheet shows every record of the table, trailing empty slots included. Rows are written
// with CR LF; a name holding a comma, a quote or a line break is quoted, its quotes doubled.
// Read back, the header of 0.2.0 (no flag column) and a ';' between fields, as spreadsheets in
// locales with a decimal comma write it, are taken too.

namespace quorrel::cli::csv {

inline constexpr std::string_view kHeader = "record,name,checked,flag";
// 0.2.0 wrote no flag column: a checked skill was flag 1, another flag 0.
inline constexpr std::string_view kHeaderWithoutFlag = "record,name,checked";
inline constexpr std::size_t kColumns = 4;

inline constexpr char kSeparator = ',';
inline constexpr char kSemicolon = ';';
inline constexpr std::string_view kRowEnd = "\r\n";
inline constexpr std::string_view kChecked = "true";
inline constexpr std::string_view kClear = "false";

}  // namespace quorrel::cli::csv
