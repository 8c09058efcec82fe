#include "WinePathResolver.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <system_error>
#include <vector>

#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"

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

char asciiLower(char character) {
    return (character >= 'A' && character <= 'Z') ? static_cast<char>(character - 'A' + 'a')
                                                  : character;
}

std::string asciiLowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), asciiLower);
    return lower;
}

Failure refusal(const std::string& typed, std::string_view reason) {
    return Failure(FailureKind::OpenRefused,
                   "cannot open " + inQuotes(typed) + ": " + std::string(reason));
}

bool isNetworkPath(std::string_view typed) {
    return typed.starts_with("\\\\");
}

// Splits what follows "X:" the way Windows reads it: both separators, "." and empty components
// dropped, ".." going up one but never above the drive's root.
std::optional<DrivePath> drivePathOf(std::string_view typed) {
    if (!startsWithDriveLetter(typed)) {
        return std::nullopt;
    }
    DrivePath drive{asciiLower(typed[0]), {}};
    std::string_view rest = typed.substr(2);
    while (!rest.empty()) {
        const auto end = std::find_if(rest.begin(), rest.end(), isSeparator);
        const std::string_view component(rest.begin(), end);
        rest.remove_prefix(component.size() + (end == rest.end() ? 0 : 1));
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

// 0 when the path exists, else the system's reason.
int statusOf(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? 0 : errno;
}

std::string joined(std::string base, const std::vector<std::string>& components, std::size_t from) {
    for (std::size_t i = from; i < components.size(); ++i) {
        base += '/';
        base += components[i];
    }
    return base;
}

void refuseNetworkPath(const std::string& typed) {
    if (isNetworkPath(typed)) {
        throw refusal(typed, "network paths (\\\\server\\share\\...) are opened only on Windows");
    }
}

// A folder's listing is trusted again only when the folder was last changed at least this long
// before it was listed: the system stamps changes with a coarse clock, so a folder changed again
// within the same tick as the listing could otherwise keep its stamp and hide the change.
constexpr std::int64_t kSettledSeconds = 2;

}  // namespace

// Follows the components down from the drive's root. A component that is missing as written is
// looked for in other case; one that the system refuses for another reason (a file where a folder
// should be, no permission) ends the walk, and the open then reports that reason.
std::string WinePathResolver::walkFrom(const std::string& root,
                                       const std::vector<std::string>& components,
                                       const std::string& typed) {
    std::string at = root;
    for (std::size_t i = 0; i < components.size(); ++i) {
        const std::string& component = components[i];
        const int reason = statusOf(at + '/' + component);
        if (reason != 0 && reason != ENOENT) {
            return joined(at, components, i);
        }
        if (reason == 0) {
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

// The entry of `folder` whose name equals `name` ignoring case; the first in byte order when
// several do, so that the choice does not depend on the order the system lists them in.
std::optional<std::string> WinePathResolver::entryIgnoringCase(const std::string& folder,
                                                               const std::string& name) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0) {
        return std::nullopt;
    }
    const auto cached = listings_.find(folder);
    const bool unchanged = cached != listings_.end() &&
                           cached->second.device == static_cast<std::uint64_t>(status.st_dev) &&
                           cached->second.inode == static_cast<std::uint64_t>(status.st_ino) &&
                           cached->second.modifiedSeconds == status.st_mtim.tv_sec &&
                           cached->second.modifiedNanoseconds == status.st_mtim.tv_nsec;
    const Listing* listing = unchanged ? &cached->second : nullptr;
    Listing fresh;
    if (listing == nullptr) {
        const std::int64_t listedAt = std::time(nullptr);
        fresh = {static_cast<std::uint64_t>(status.st_dev),
                 static_cast<std::uint64_t>(status.st_ino),
                 status.st_mtim.tv_sec,
                 status.st_mtim.tv_nsec,
                 {}};
        std::error_code error;
        for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            std::string entryName = entry->path().filename().string();
            auto [slot, added] =
                fresh.byLowerCase.try_emplace(asciiLowerCase(entryName), entryName);
            if (!added && entryName < slot->second) {
                slot->second = std::move(entryName);
            }
        }
        ++listingsMade_;
        listings_.erase(folder);
        if (status.st_mtim.tv_sec + kSettledSeconds <= listedAt) {
            listing = &listings_.emplace(folder, std::move(fresh)).first->second;
        } else {
            listing = &fresh;
        }
    }
    const auto match = listing->byLowerCase.find(asciiLowerCase(name));
    if (match == listing->byLowerCase.end()) {
        return std::nullopt;
    }
    return match->second;
}

std::string WinePathResolver::resolveInPrefix(const std::string& typed, char letter,
                                              const std::vector<std::string>& components,
                                              const std::filesystem::path& prefix) {
    const std::string drive(1, letter);
    const std::string roots[] = {(prefix / "dosdevices" / (drive + ":")).string(),
                                 (prefix / ("drive_" + drive)).string()};
    for (const std::string& root : roots) {
        // With every name written as it is on disk, which is the usual case, one stat settles it.
        const std::string exact = joined(root, components, 0);
        if (statusOf(exact) == 0) {
            return exact;
        }
        if (statusOf(root) == 0) {
            return walkFrom(root, components, typed);
        }
    }
    if (statusOf(prefix.string()) != 0) {
        throw refusal(typed, "no Wine prefix at " + inQuotes(prefix.string()) +
                                 "; WINEPREFIX names the prefix that holds the game");
    }
    throw refusal(typed, "no drive " + drive + ": in the Wine prefix " + inQuotes(prefix.string()) +
                             " (neither dosdevices/" + drive + ": nor drive_" + drive + ")");
}

bool startsWithDriveLetter(std::string_view typed) {
    return typed.size() >= 2 && isAsciiLetter(typed[0]) && typed[1] == ':';
}

std::optional<std::filesystem::path> winePrefixFromEnvironment() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        return std::filesystem::path(prefix);
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".wine";
    }
    return std::nullopt;
}

namespace {

// The prefix a drive-letter path leads into; a path without a drive needs none.
std::filesystem::path prefixForDrive(const std::string& typed) {
    if (!startsWithDriveLetter(typed)) {
        return {};
    }
    auto prefix = winePrefixFromEnvironment();
    if (!prefix) {
        throw refusal(typed,
                      "neither WINEPREFIX nor HOME is set, so there is no Wine prefix to "
                      "look for the drive in");
    }
    return std::move(*prefix);
}

}  // namespace

LocalPath WinePathResolver::resolve(const std::string& typed) {
    return resolve(typed, prefixForDrive(typed));
}

LocalPath WinePathResolver::resolve(const std::string& typed,
                                    const std::filesystem::path& winePrefix) {
    refuseNetworkPath(typed);
    const auto drive = drivePathOf(typed);
    if (!drive) {
        return {typed, typed};
    }
    return {typed, resolveInPrefix(typed, drive->letter, drive->components, winePrefix)};
}

LocalPath WinePathResolver::resolveForWriting(const std::string& typed) {
    return resolveForWriting(typed, prefixForDrive(typed));
}

LocalPath WinePathResolver::resolveForWriting(const std::string& typed,
                                              const std::filesystem::path& winePrefix) {
    refuseNetworkPath(typed);
    auto drive = drivePathOf(typed);
    if (!drive) {
        return {typed, typed};
    }
    if (drive->components.empty()) {
        throw refusal(typed, "it names a drive, not a file");
    }
    const std::string name = drive->components.back();
    drive->components.pop_back();
    const std::string folder = resolveInPrefix(typed, drive->letter, drive->components, winePrefix);
    if (statusOf(folder + '/' + name) == 0) {
        return {typed, folder + '/' + name};
    }
    return {typed, folder + '/' + entryIgnoringCase(folder, name).value_or(name)};
}

LocalPath localPathFor(const std::string& typed) {
    return WinePathResolver().resolve(typed);
}

LocalPath localPathFor(const std::string& typed, const std::filesystem::path& winePrefix) {
    return WinePathResolver().resolve(typed, winePrefix);
}

}  // namespace quorrel
