#include "DroppedPaths.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "runtime/base/Ascii.h"
#include "runtime/base/InQuotes.h"
#include "runtime/files/SystemPath.h"
#include "runtime/files/WindowsNames.h"

namespace quorrel::form1 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDataFileName = "skills.mul";
constexpr std::string_view kIndexFileName = "skills.idx";

bool isFolder(FileSystem& fileSystem, const std::string& path) {
    const FileStatus status = fileSystem.statusOf(path);
    return status.presence == FileStatus::Presence::There && status.kind == FileKind::Folder;
}

enum class FileRole { Data, Index, Unknown };

// Which file a name looks like, by its extension: the game names its data files *.mul and its
// index files *.idx.
FileRole roleByName(const std::string& path) {
    const std::string extension = asciiLowerCase(utf8Of(systemPath(path).extension()));
    if (extension == ".mul") {
        return FileRole::Data;
    }
    if (extension == ".idx") {
        return FileRole::Index;
    }
    return FileRole::Unknown;
}

DropOutcome refused(std::string why) {
    return {std::nullopt, std::nullopt, std::move(why)};
}

DropOutcome oneFile(const std::string& path, ControlId droppedOn) {
    if (droppedOn == ControlId::txtPathIdx) {
        return {std::nullopt, path, {}};
    }
    return {path, std::nullopt, {}};
}

DropOutcome twoFiles(const std::string& first, const std::string& second) {
    const FileRole firstRole = roleByName(first);
    const FileRole secondRole = roleByName(second);
    if (firstRole == secondRole) {
        return refused(
            "Cannot tell which of the two files is the data file and which the index: "
            "drop one named *.mul and one named *.idx.");
    }
    const bool firstIsData = firstRole == FileRole::Data || secondRole == FileRole::Index;
    return firstIsData ? DropOutcome{first, second, {}} : DropOutcome{second, first, {}};
}

// The entry of `folder` whose name is `name` as Windows compares names, where the game's files
// come from; an exact match comes first, then the least name, so that a folder holding both
// skills.mul and SKILLS.MUL gives the same answer every time.
std::optional<std::string> entryNamed(FileSystem& fileSystem, const std::string& folder,
                                      std::string_view name) {
    std::optional<std::string> found;
    for (const std::string& entry : fileSystem.namesIn(folder)) {
        if (entry == name) {
            found = entry;
            break;
        }
        if (sameWindowsName(entry, name) && (!found || entry < *found)) {
            found = entry;
        }
    }
    if (!found) {
        return std::nullopt;
    }
    return utf8Of(systemPath(folder) / systemPath(*found));
}

DropOutcome folderOfBoth(FileSystem& fileSystem, const std::string& folder) {
    const auto data = entryNamed(fileSystem, folder, kDataFileName);
    const auto index = entryNamed(fileSystem, folder, kIndexFileName);
    if (!data || !index) {
        const std::string_view missing = !data && !index ? "skills.mul and skills.idx"
                                         : !data         ? kDataFileName
                                                         : kIndexFileName;
        return refused("The folder " + inQuotes(folder) + " holds no " + std::string(missing) +
                       ".");
    }
    return {*data, *index, {}};
}

}  // namespace

DropOutcome pathsFromDrop(const std::vector<std::string>& dropped, ControlId droppedOn,
                          FileSystem& fileSystem) {
    const auto folders =
        std::count_if(dropped.begin(), dropped.end(),
                      [&](const std::string& path) { return isFolder(fileSystem, path); });
    if (dropped.size() == 1 && folders == 1) {
        return folderOfBoth(fileSystem, dropped.front());
    }
    if (dropped.size() == 1) {
        return oneFile(dropped.front(), droppedOn);
    }
    if (dropped.size() == 2 && folders == 0) {
        return twoFiles(dropped[0], dropped[1]);
    }
    return refused("Drop one file, the two skill files, or the folder that holds them.");
}

}  // namespace quorrel::form1
