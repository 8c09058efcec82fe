#pragma once

#include <string>

#ifdef _WIN32
#include "runtime/system/SystemMessageWindows.h"
#include "runtime/system/WindowsApi.h"
#else
#include <cerrno>
#include <cstring>
#endif

namespace quorrel::testing {

// The system's own words for a file that is not there, as open failures quote them: through the
// same call that words them there, as Windows words it differently from POSIX systems, and
// differently again under Wine.
inline std::string missingFileReason() {
#ifdef _WIN32
    return systemMessage(ERROR_FILE_NOT_FOUND);
#else
    return std::strerror(ENOENT);
#endif
}

}  // namespace quorrel::testing
