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
    // Whether `local` is `typed` because the text alone says so (no drive letter leading into a
    // Wine prefix): the same text, resolved again, gives the same file. Set by PathResolver.
    bool asTyped = false;

    // Whether the two are the same path, typed and used alike. Paths used as typed compare their
    // text once.
    bool sameAs(const LocalPath& other) const noexcept {
        return typed == other.typed && windowsName == other.windowsName &&
               ((asTyped && other.asTyped) || local == other.local);
    }

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
