#pragma once

#include <string>

#include "runtime/base/InQuotes.h"

namespace quorrel {

// A path as the user typed it and the file this system uses for it, as PathResolver finds it.
struct LocalPath {
    std::string typed;
    std::string local;
    // Whether its name is one that Windows compares ignoring case: true on Windows and, elsewhere,
    // for a drive-letter path, which names a file that Windows programs open through Wine.
    bool windowsName = false;

    // The path as messages name it: "TYPED", followed by (resolved to "LOCAL") when the two differ.
    std::string quoted() const {
        std::string name;
        quoteInto(name);
        return name;
    }

    // The same written over `name`, whose memory serves again.
    void quoteInto(std::string& name) const {
        name.assign(1, '"').append(typed).append(1, '"');
        if (local != typed) {
            name.append(" (resolved to \"").append(local).append("\")");
        }
    }
};

}  // namespace quorrel
