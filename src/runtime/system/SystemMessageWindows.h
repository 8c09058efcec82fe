#pragma once

// Windows only: the system's own words for an error code, for failure messages.

#include <string>

namespace quorrel {

// The text Windows gives for `error` (a GetLastError() value), without its closing full stop;
// "system error N" when it has none.
std::string systemMessage(unsigned long error);

}  // namespace quorrel
