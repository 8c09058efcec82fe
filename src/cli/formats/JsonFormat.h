#pragma once

#include <string_view>

// The JSON format, as both directions have it: one document,
//   {"skills": [{"record": 0, "name": "Dowsing", "checked": true, "flag": 1}, ...],
//    "recordCount": 1, "error": null}
// where "record" is the skill's index record counted from 0, "flag" its flag byte (0 to 255,
// checked when not 0) and "recordCount" the index's records, empty slots included. When the load
// failed, "error" is {"kind": "...", "message": "..."} and "skills" holds the skills read before
// it.

namespace quorrel::cli::json {

inline constexpr std::string_view kSkills = "skills";
inline constexpr std::string_view kRecordCount = "recordCount";
inline constexpr std::string_view kError = "error";

inline constexpr std::string_view kRecord = "record";
inline constexpr std::string_view kName = "name";
inline constexpr std::string_view kChecked = "checked";
inline constexpr std::string_view kFlag = "flag";

inline constexpr std::string_view kKind = "kind";
inline constexpr std::string_view kMessage = "message";

}  // namespace quorrel::cli::json
