#include "DroppedPaths.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "runtime/base/InQuotes.h"
#include "runtime/files/SystemPath.h"

namespace quorrel::form1 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDataFileName = "skills.mul";
constexpr std::string_view kIndexFileName = "skills.idx";

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

bool isFolder(const std::string& path) {
    std::error_code ignored;
    return fs::is_directory(systemPath(path), ignored);
}

enum class FileRole { Data, Index, Unknown };

// Which file a name looks like, by its extension: the game names its data files *.mul and its
// index files *.idx.
FileRole roleByName(const std::string& path) {
    const std::string extension = lowered(utf8Of(systemPath(path).extension()));
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

// The entry of `folder` whose name is `name` in any case; an exact match comes first, so that a
// folder holding both skills.mul and SKILLS.MUL gives the same answer every time.
std::optional<fs::path> entryNamed(const fs::path& folder, std::string_view name) {
    std::error_code error;
    std::optional<fs::path> found;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string entryName = utf8Of(entry->path().filename());
        if (entryName == name) {
            return entry->path();
        }
        if (lowered(entryName) == name && (!found || entry->path() < *found)) {
            found = entry->path();
        }
    }
    return found;
}

DropOutcome folderOfBoth(const std::string& folder) {
    const auto data = entryNamed(systemPath(folder), kDataFileName);
    const auto index = entryNamed(systemPath(folder), kIndexFileName);
    if (!data || !index) {
        const std::string_view missing = !data && !index ? "skills.mul and skills.idx"
                                         : !data         ? kDataFileName
                                                         : kIndexFileName;
        return refused("The folder " + inQuotes(folder) + " holds no " + std::string(missing) +
                       ".");
    }
    return {utf8Of(*data), utf8Of(*index), {}};
}

}  // namespace

DropOutcome pathsFromDrop(const std::vector<std::string>& dropped, ControlId droppedOn) {
    const auto folders = std::count_if(dropped.begin(), dropped.end(), isFolder);
    if (dropped.size() == 1 && folders == 1) {
        return folderOfBoth(dropped.front());
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
