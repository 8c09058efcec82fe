// Drive-letter paths on systems other than Windows, where Windows programs run under Wine: they
// lead into the Wine prefix. Windows reads such paths itself (PathResolverWindows.cpp).

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "PathResolver.h"
#include "runtime/base/Ascii.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/files/WindowsNames.h"

namespace quorrel {
namespace {

struct DrivePath {
    char letter;  // lower case, as Wine names its drives
    std::vector<std::string> components;
};

bool isSeparator(char character) {
    return character == '\\' || character == '/';
}

bool isAsciiLetter(char character) {
    return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z');
}

Failure refusal(const std::string& typed, std::string_view reason) {
    return Failure(FailureKind::OpenRefused,
                   "cannot open " + inQuotes(typed) + ": " + std::string(reason));
}

// Whether `typed` starts with a drive letter and a colon, as the paths that lead into the Wine
// prefix do.
bool startsWithDriveLetter(std::string_view typed) {
    return typed.size() >= 2 && isAsciiLetter(typed[0]) && typed[1] == ':';
}

// A component as Windows reads it before it looks for it: the last one of a path loses all the
// dots and spaces at its end, every other one a single dot at its end ("c:\g.\skills.mul. " is
// "c:\g\skills.mul").
std::string_view trimmedAsWindowsDoes(std::string_view component, bool last) {
    if (component == "." || component == "..") {
        return component;
    }
    if (last) {
        return withoutTrailingDotsAndSpaces(component);
    }
    return component.ends_with('.') ? component.substr(0, component.size() - 1) : component;
}

// Splits what follows "X:" the way Windows reads it: both separators, each component trimmed as
// Windows trims it, "." and empty components dropped, ".." going up one but never above the
// drive's root.
std::optional<DrivePath> drivePathOf(std::string_view typed) {
    if (!startsWithDriveLetter(typed)) {
        return std::nullopt;
    }
    DrivePath drive{asciiLower(typed[0]), {}};
    std::string_view rest = typed.substr(2);
    while (!rest.empty()) {
        const auto end = std::find_if(rest.begin(), rest.end(), isSeparator);
        const std::string_view component =
            trimmedAsWindowsDoes(std::string_view(rest.begin(), end), end == rest.end());
        rest.remove_prefix(static_cast<std::size_t>(end - rest.begin()) +
                           (end == rest.end() ? 0 : 1));
        if (component == "..") {
            if (!drive.components.empty()) {
                drive.components.pop_back();
            }
        } else if (!component.empty() && component != ".") {
            drive.components.emplace_back(component);
        }
    }
    return drive;
}

std::string joined(std::string base, const std::vector<std::string>& components, std::size_t from) {
    for (std::size_t i = from; i < components.size(); ++i) {
        base += '/';
        base += components[i];
    }
    return base;
}

void refuseNetworkPath(const std::string& typed) {
    if (typed.starts_with("\\\\")) {
        throw refusal(typed, "network paths (\\\\server\\share\\...) are opened only on Windows");
    }
}

// The Wine prefix a drive-letter path leads into: the one in $WINEPREFIX when it is set and not
// empty, else ~/.wine from $HOME. Throws an open-refused failure when neither is set.
std::filesystem::path winePrefixFor(const std::string& typed) {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        return prefix;
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".wine";
    }
    throw refusal(typed,
                  "neither WINEPREFIX nor HOME is set, so there is no Wine prefix to look for the "
                  "drive in");
}

// A folder's listing is trusted again only when the folder was last changed at least this long
// before it was listed: the system stamps changes with a coarse clock, so a folder changed again
// within the same tick as the listing could otherwise keep its stamp and hide the change.
constexpr std::int64_t kSettledSeconds = 2;

}  // namespace

bool PathResolver::exists(const std::string& local) noexcept {
    return fileSystem_.statusOf(local).presence == FileStatus::Presence::There;
}

// Follows the components down from the drive's root. A component that is missing as written is
// looked for in other case; one that the system refuses for another reason (a file where a folder
// should be, no permission) ends the walk, and the open then reports that reason.
std::string PathResolver::walkFrom(const std::string& root,
                                   const std::vector<std::string>& components,
                                   const std::string& typed) {
    std::string at = root;
    for (std::size_t i = 0; i < components.size(); ++i) {
        const std::string& component = components[i];
        const FileStatus::Presence presence = fileSystem_.statusOf(at + '/' + component).presence;
        if (presence == FileStatus::Presence::Unknown) {
            return joined(at, components, i);
        }
        if (presence == FileStatus::Presence::There) {
            at += '/' + component;
            continue;
        }
        const auto match = entryIgnoringCase(at, component);
        if (!match) {
            throw refusal(typed, "no " + inQuotes(component) + " in " + inQuotes(at));
        }
        at += '/' + *match;
    }
    return at;
}

// The entry of `folder` whose name is `name` to Windows (sameWindowsName): equal ignoring the
// case of every letter, not of ASCII letters alone, so that "élan.mul" finds "Élan.mul". The
// first in byte order when several are, so that the choice does not depend on the order the
// system lists them in.
//
// A listing kept from before serves while the folder is unchanged since. During a run
// (keepListingsDuringRuns) one made in the same run serves even though the folder has changed, as
// long as the entry it gives is still there: a game writing its logs beside the table changes the
// folder many times a second, and listing a folder of thousands of files for every record would
// cost the run more than all its reads.
std::optional<std::string> PathResolver::entryIgnoringCase(const std::string& folder,
                                                           const std::string& name) {
    const FileStatus status = fileSystem_.statusOf(folder);
    if (status.presence != FileStatus::Presence::There) {
        return std::nullopt;
    }
    const std::string key = windowsNameKey(name);
    if (const auto cached = listings_.find(folder); cached != listings_.end()) {
        const Listing& kept = cached->second;
        const bool unchanged =
            kept.settled && kept.folder == status.identity && kept.changed == status.changed;
        const bool ofThisRun = run_ != 0 && kept.run == run_;
        if (unchanged || ofThisRun) {
            const auto match = kept.byWindowsName.find(key);
            if (unchanged) {
                return match == kept.byWindowsName.end() ? std::nullopt
                                                         : std::optional(match->second);
            }
            if (match != kept.byWindowsName.end() && exists(folder + '/' + match->second)) {
                return match->second;
            }
        }
    }
    const Listing& listing = listed(folder, status);
    const auto match = listing.byWindowsName.find(key);
    if (match == listing.byWindowsName.end()) {
        return std::nullopt;
    }
    return match->second;
}

// Lists the folder afresh and keeps the listing in the place of any before it.
const PathResolver::Listing& PathResolver::listed(const std::string& folder,
                                                  const FileStatus& status) {
    const std::int64_t listedAt = std::time(nullptr);
    Listing fresh{status.identity,
                  status.changed,
                  status.changed / 1'000'000'000 + kSettledSeconds <= listedAt,
                  run_,
                  {}};
    for (std::string& entryName : fileSystem_.namesIn(folder)) {
        auto [slot, added] = fresh.byWindowsName.try_emplace(windowsNameKey(entryName), entryName);
        if (!added && entryName < slot->second) {
            slot->second = std::move(entryName);
        }
    }
    Listing& kept = listings_[folder];
    kept = std::move(fresh);
    return kept;
}

std::string PathResolver::resolveInPrefix(const std::string& typed, char letter,
                                          const std::vector<std::string>& components,
                                          const std::filesystem::path& prefix) {
    const std::string drive(1, letter);
    const std::string roots[] = {(prefix / "dosdevices" / (drive + ":")).string(),
                                 (prefix / ("drive_" + drive)).string()};
    for (const std::string& root : roots) {
        // With every name written as it is on disk, which is the usual case, one stat settles it.
        const std::string exact = joined(root, components, 0);
        if (exists(exact)) {
            return exact;
        }
        if (exists(root)) {
            return walkFrom(root, components, typed);
        }
    }
    if (!exists(prefix.string())) {
        throw refusal(typed, "no Wine prefix at " + inQuotes(prefix.string()) +
                                 "; WINEPREFIX names the prefix that holds the game");
    }
    throw refusal(typed, "no drive " + drive + ": in the Wine prefix " + inQuotes(prefix.string()) +
                             " (neither dosdevices/" + drive + ": nor drive_" + drive + ")");
}

void PathResolver::resolve(const std::string& typed, LocalPath& into) {
    if (into.asTyped && into.typed == typed) {
        return;
    }
    into.asTyped = false;
    refuseNetworkPath(typed);
    const auto drive = drivePathOf(typed);
    into.typed.assign(typed);
    into.windowsName = drive.has_value();
    if (!drive) {
        into.local.assign(typed);
        into.asTyped = true;
        return;
    }
    into.local = resolveInPrefix(typed, drive->letter, drive->components, winePrefixFor(typed));
}

LocalPath PathResolver::resolveForWriting(const std::string& typed) {
    refuseNetworkPath(typed);
    auto drive = drivePathOf(typed);
    LocalPath path{typed, typed, false};
    if (drive) {
        if (drive->components.empty()) {
            throw refusal(typed, "it names a drive, not a file");
        }
        const std::string name = drive->components.back();
        drive->components.pop_back();
        const std::string folder =
            resolveInPrefix(typed, drive->letter, drive->components, winePrefixFor(typed));
        path.windowsName = true;
        path.local =
            folder + '/' +
            (exists(folder + '/' + name) ? name : entryIgnoringCase(folder, name).value_or(name));
    }
    // A link is followed, or refused, where the target is looked at (lookAtTarget).
    return path;
}

}  // namespace quorrel
