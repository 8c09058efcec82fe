#include "NativeFileSystem.h"

#include <filesystem>
#include <system_error>

#include "SystemPath.h"

namespace quorrel {

FileSystem& FileSystem::native() {
    static NativeFileSystem system;
    return system;
}

std::vector<std::string> NativeFileSystem::namesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(systemPath(folder), error), end;
         !error && entry != end; entry.increment(error)) {
        names.push_back(utf8Of(entry->path().filename()));
    }
    return names;
}

}  // namespace quorrel
