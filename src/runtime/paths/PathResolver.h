#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/files/FileSystem.h"
#include "runtime/files/LocalPath.h"

namespace quorrel {

// Finds the file this system uses for a path as the user typed it, asking the file system it is
// given. On Windows every path is the system's own and is used as typed. Elsewhere a path that
// starts with a drive letter and a colon ("c:\...", "C:/...") names a file inside the Wine prefix
// ($WINEPREFIX, else ~/.wine, read at each call), as Windows programs run there find it; other
// paths are used as typed. The drive is the prefix's dosdevices/<letter>: link or, when that is
// missing, its drive_<letter> folder. Components are separated by '\' or '/'; "." and empty ones
// are dropped and ".." goes up one, as on Windows. Each is taken as written when it exists and
// otherwise matched as Windows matches names (sameWindowsName: ignoring the case of any letter,
// and the dots and spaces that end a name), so a folder is listed only when the exact name is not
// there.
//
// Before it is looked for, each component is trimmed as Windows trims it: the last loses the dots
// and spaces at its end, the others one dot at their end. Then the exact name is taken when it is
// there, and only then a name that is the same to Windows.
//
// Each path is resolved afresh, so a file that appears, vanishes or is replaced is seen; only the
// listing of a folder whose names had to be matched ignoring case is kept: while the folder is
// unchanged since it was listed, and during a run (RunKeepingListings) for the rest of the run,
// listed again only when the entry it gives is gone or it has none for the name. That makes the
// cost of resolving a path independent of how many files its folders hold, and of how often they
// change while a run lasts.
class PathResolver {
  public:
    explicit PathResolver(FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // The file to read for `typed`. Throws an open-refused failure naming the path and what is
    // missing when it cannot lead to one: off Windows for a network path ("\\server\share\..."),
    // and for a drive-letter path when there is no prefix, no such drive in it, or a component
    // that is not there.
    LocalPath resolve(const std::string& typed) {
        LocalPath path;
        resolve(typed, path);
        return path;
    }

    // The same, written over `into`, whose memory serves again: a run that resolves the same
    // path for every record allocates nothing for it. When `into` holds the answer for the same
    // text and that answer is the text itself (LocalPath::asTyped), it is left as it is: no file
    // system is asked for such a path, so nothing can have changed it. On failure `into` holds
    // nothing of use.
    void resolve(const std::string& typed, LocalPath& into);

    // The file to write for `typed`: the one resolve() gives when it exists; for a new one, its
    // folder resolved and its name kept as typed. A link is left to the look at the target
    // (lookAtTarget), which follows it or refuses it. Throws an open-refused failure when the
    // folder cannot be found or the path names a drive's root.
    LocalPath resolveForWriting(const std::string& typed);

    // Marks a run, such as one load, for as long as it lives: the listings made during it serve
    // until it ends even where their folders change meanwhile (see above).
    class RunKeepingListings {
      public:
        explicit RunKeepingListings(PathResolver& resolver) : resolver_(resolver) {
            resolver_.run_ = ++resolver_.lastRun_;
        }
        RunKeepingListings(const RunKeepingListings&) = delete;
        RunKeepingListings& operator=(const RunKeepingListings&) = delete;
        ~RunKeepingListings() { resolver_.run_ = 0; }

      private:
        PathResolver& resolver_;
    };

  private:
    // A folder's names by the form Windows compares them in (windowsNameKey), and what
    // identifies the folder's state: whether it had been unchanged a while when it was listed,
    // and the run it was listed in (0 for none).
    struct Listing {
        FileIdentity folder;
        std::int64_t changed = 0;
        bool settled = false;
        std::uint64_t run = 0;
        std::unordered_map<std::string, std::string> byWindowsName;
    };

    // The parts of the resolution that lead into the Wine prefix; none on Windows.
    std::string resolveInPrefix(const std::string& typed, char letter,
                                const std::vector<std::string>& components,
                                const std::filesystem::path& prefix);
    std::string walkFrom(const std::string& root, const std::vector<std::string>& components,
                         const std::string& typed);
    std::optional<std::string> entryIgnoringCase(const std::string& folder,
                                                 const std::string& name);
    const Listing& listed(const std::string& folder, const FileStatus& status);
    bool exists(const std::string& local) noexcept;

    FileSystem& fileSystem_;
    std::unordered_map<std::string, Listing> listings_;
    std::uint64_t run_ = 0;  // the run under way, 0 for none
    std::uint64_t lastRun_ = 0;
};

}  // namespace quorrel
