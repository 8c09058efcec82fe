#pragma once

#include <string>
#include <string_view>

namespace quorrel {

// A path or a name as failure messages show it: in double quotes, so that spaces at its ends and
// an empty one can be seen.
inline std::string inQuotes(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

}  // namespace quorrel
