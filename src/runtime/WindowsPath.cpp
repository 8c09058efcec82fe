#include "WindowsPath.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <vector>

#include "Failure.h"

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

bool equalIgnoringAsciiCase(std::string_view left, std::string_view right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [](char a, char b) { return asciiLower(a) == asciiLower(b); });
}

std::string quote(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

Failure refusal(const std::string& typed, std::string_view reason) {
    return Failure(FailureKind::OpenRefused,
                   "cannot open " + quote(typed) + ": " + std::string(reason));
}

bool isNetworkPath(std::string_view typed) {
    return typed.starts_with("\\\\");
}

bool startsWithDrive(std::string_view typed) {
    return typed.size() >= 2 && isAsciiLetter(typed[0]) && typed[1] == ':';
}

// Splits what follows "X:" the way Windows reads it: both separators, "." and empty components
// dropped, ".." going up one but never above the drive's root.
std::optional<DrivePath> drivePathOf(std::string_view typed) {
    if (!startsWithDrive(typed)) {
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

// The entry of `folder` whose name equals `name` ignoring case; the first in byte order when
// several do, so that the choice does not depend on the order the system lists them in.
std::optional<std::string> entryIgnoringCase(const std::string& folder, const std::string& name) {
    std::optional<std::string> found;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::string entryName = entry->path().filename().string();
        if (equalIgnoringAsciiCase(entryName, name) && (!found || entryName < *found)) {
            found = std::move(entryName);
        }
    }
    return found;
}

// Follows the components down from the drive's root. A component that is missing as written is
// looked for in other case; one that the system refuses for another reason (a file where a folder
// should be, no permission) ends the walk, and the open then reports that reason.
std::string walkFrom(const std::string& root, const DrivePath& drive, const std::string& typed) {
    std::string at = root;
    for (std::size_t i = 0; i < drive.components.size(); ++i) {
        const std::string& component = drive.components[i];
        const int reason = statusOf(at + '/' + component);
        if (reason != 0 && reason != ENOENT) {
            return joined(at, drive.components, i);
        }
        if (reason == 0) {
            at += '/' + component;
            continue;
        }
        const auto match = entryIgnoringCase(at, component);
        if (!match) {
            throw refusal(typed, "no " + quote(component) + " in " + quote(at));
        }
        at += '/' + *match;
    }
    return at;
}

std::string resolveInPrefix(const std::string& typed, const DrivePath& drive,
                            const std::filesystem::path& prefix) {
    const std::string letter(1, drive.letter);
    const std::string roots[] = {(prefix / "dosdevices" / (letter + ":")).string(),
                                 (prefix / ("drive_" + letter)).string()};
    for (const std::string& root : roots) {
        // With every name written as it is on disk, which is the usual case, one stat settles it.
        const std::string exact = joined(root, drive.components, 0);
        if (statusOf(exact) == 0) {
            return exact;
        }
        if (statusOf(root) == 0) {
            return walkFrom(root, drive, typed);
        }
    }
    if (statusOf(prefix.string()) != 0) {
        throw refusal(typed, "no Wine prefix at " + quote(prefix.string()) +
                                 " (WINEPREFIX names the prefix that holds the game)");
    }
    throw refusal(typed, "no drive " + letter + ": in the Wine prefix " + quote(prefix.string()) +
                             " (neither dosdevices/" + letter + ": nor drive_" + letter + ")");
}

void refuseNetworkPath(const std::string& typed) {
    if (isNetworkPath(typed)) {
        throw refusal(typed, "network paths (\\\\server\\share\\...) are opened only on Windows");
    }
}

}  // namespace

std::string LocalPath::quoted() const {
    return local == typed ? quote(typed) : quote(typed) + " (resolved to " + quote(local) + ")";
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

LocalPath localPathFor(const std::string& typed) {
    if (!startsWithDrive(typed)) {
        return localPathFor(typed, {});
    }
    const auto prefix = winePrefixFromEnvironment();
    if (!prefix) {
        throw refusal(typed,
                      "neither WINEPREFIX nor HOME is set, so there is no Wine prefix to "
                      "look for the drive in");
    }
    return localPathFor(typed, *prefix);
}

LocalPath localPathFor(const std::string& typed, const std::filesystem::path& winePrefix) {
    refuseNetworkPath(typed);
    const auto drive = drivePathOf(typed);
    if (!drive) {
        return {typed, typed};
    }
    return {typed, resolveInPrefix(typed, *drive, winePrefix)};
}

}  // namespace quorrel
