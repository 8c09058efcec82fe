#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/files/LocalPath.h"

// Drive-letter paths on systems other than Windows, where Windows programs run under Wine: they
// lead into the Wine prefix. PathResolver uses this there; Windows reads such paths itself.

namespace quorrel {

// Whether `typed` starts with a drive letter and a colon ("c:\...", "C:/..."), as the paths that
// lead into the Wine prefix do.
bool startsWithDriveLetter(std::string_view typed);

// Where drive-letter paths lead on systems other than Windows: the Wine prefix in $WINEPREFIX when
// it is set and not empty, else ~/.wine from $HOME; nothing when neither is set.
std::optional<std::filesystem::path> winePrefixFromEnvironment();

// Finds the file to open for a path typed in Windows' form, as localPathFor below describes, and
// keeps what it learnt of folders for the next path. Each path is resolved afresh, so a file that
// appears, vanishes or is replaced is seen; only the listing of a folder whose names had to be
// matched ignoring case is kept, and only while the folder is unchanged since it was listed.
// That makes the cost of resolving a path independent of how many files its folders hold.
class WinePathResolver {
  public:
    // With the Wine prefix from the environment at the time of each call.
    LocalPath resolve(const std::string& typed);
    LocalPath resolve(const std::string& typed, const std::filesystem::path& winePrefix);

    // The file to write for `typed`: the same as resolve() gives for a file that exists; for one
    // that does not, the folder is resolved as resolve() would and the last component kept as
    // typed. Throws an open-refused failure when the folder cannot be found or the path names a
    // drive's root.
    LocalPath resolveForWriting(const std::string& typed);
    LocalPath resolveForWriting(const std::string& typed, const std::filesystem::path& winePrefix);

    // How many times a folder has been read through; for tests and benchmarks.
    std::size_t listingsMade() const noexcept { return listingsMade_; }

  private:
    // A folder's names by their lower-case form, and what identifies the folder's state.
    struct Listing {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t modifiedSeconds = 0;
        std::int64_t modifiedNanoseconds = 0;
        std::unordered_map<std::string, std::string> byLowerCase;
    };

    std::string resolveInPrefix(const std::string& typed, char letter,
                                const std::vector<std::string>& components,
                                const std::filesystem::path& prefix);
    std::string walkFrom(const std::string& root, const std::vector<std::string>& components,
                         const std::string& typed);
    std::optional<std::string> entryIgnoringCase(const std::string& folder,
                                                 const std::string& name);

    std::unordered_map<std::string, Listing> listings_;
    std::size_t listingsMade_ = 0;
};

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
