#include "FileQueries.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "PathParts.h"
#include "SystemPath.h"
#include "WindowsNames.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"

namespace quorrel {

bool nameOneFile(const TargetPath& first, const TargetPath& second) {
    if (first.local == second.local) {
        return true;
    }
    const auto firstFile = identityOf(first.local);
    const auto secondFile = identityOf(second.local);
    if (firstFile && secondFile) {
        return *firstFile == *secondFile;
    }
    // A name that does not exist yet is one file with another when both are the same name in
    // the same folder, however the folders' paths are spelt.
    const auto firstFolder = identityOf(folderOf(first.local));
    if (!firstFolder || firstFolder != identityOf(folderOf(second.local))) {
        return false;
    }
    const std::string firstName = nameOf(first.local);
    const std::string secondName = nameOf(second.local);
    return (first.windowsName || second.windowsName) ? sameWindowsName(firstName, secondName)
                                                     : firstName == secondName;
}

std::vector<std::string> siblingsStartingWith(const std::string& local, std::string_view prefix) {
    const std::string folder = folderOf(local);
    const std::size_t start = local.size() - nameOf(local).size();
    std::vector<std::string> found;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(systemPath(folder), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = utf8Of(entry->path().filename());
        if (name.starts_with(prefix)) {
            found.push_back(local.substr(0, start) + name);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& local,
                                                       std::uint64_t largest) {
    std::ifstream in(systemPath(local), std::ios::binary);
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t kPiece = 64 * 1024;
    while (in) {
        const std::size_t had = bytes.size();
        bytes.resize(had + kPiece);
        in.read(reinterpret_cast<char*>(bytes.data() + had), kPiece);
        bytes.resize(had + static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > largest) {
            return std::nullopt;
        }
    }
    if (in.bad() || !in.eof()) {
        throw Failure(FailureKind::ReadError, "cannot read " + inQuotes(local));
    }
    return bytes;
}

}  // namespace quorrel
