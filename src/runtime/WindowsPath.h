#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quorrel {

// A path as the user typed it and the file this system opens for it.
struct LocalPath {
    std::string typed;
    std::string local;

    // The path as messages name it: "TYPED", followed by (resolved to "LOCAL") when the two differ.
    std::string quoted() const;
};

// Where drive-letter paths lead on systems other than Windows: the Wine prefix in $WINEPREFIX when
// it is set and not empty, else ~/.wine from $HOME; nothing when neither is set.
std::optional<std::filesystem::path> winePrefixFromEnvironment();

// The file to open for `typed` on systems other than Windows, where Windows programs run under
// Wine. A path that starts with a drive letter and a colon ("c:\...", "C:/...") names a file inside
// the Wine prefix from the environment; every other path is used as it is. Throws an open-refused
// failure for a network path ("\\server\share\..."), for a drive-letter path when there is no
// prefix, no such drive in it, or a component that is not there.
LocalPath localPathFor(const std::string& typed);

// The same, with drive-letter paths looked up inside `winePrefix`. The drive is the prefix's
// dosdevices/<letter>: link or, when that is missing, its drive_<letter> folder. Components are
// separated by '\' or '/'; "." and empty ones are dropped and ".." goes up one, as on Windows. Each
// is taken as written when it exists and otherwise matched ignoring the case of ASCII letters, so
// a folder is listed only when the exact name is not there.
LocalPath localPathFor(const std::string& typed, const std::filesystem::path& winePrefix);

}  // namespace quorrel
