#pragma once

#include <string>

#include "runtime/base/InQuotes.h"

namespace quorrel {

// A path as the user typed it and the file this system opens for it.
struct LocalPath {
    std::string typed;
    std::string local;

    // The path as messages name it: "TYPED", followed by (resolved to "LOCAL") when the two differ.
    std::string quoted() const {
        return local == typed ? inQuotes(typed)
                              : inQuotes(typed) + " (resolved to " + inQuotes(local) + ")";
    }
};

}  // namespace quorrel
