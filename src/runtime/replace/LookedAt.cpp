#include "LookedAt.h"

#include <string>
#include <utility>

#include "runtime/files/PathParts.h"
#include "runtime/files/WindowsNames.h"

namespace quorrel {

LookedAt lookAt(FileSystem& fileSystem, LocalPath path) {
    const auto file = fileSystem.identityOf(path.local);
    const auto folder = fileSystem.identityOf(folderOf(path.local));
    return {std::move(path), file, folder};
}

LookedAt lookAtTarget(FileSystem& fileSystem, LocalPath path) {
    const auto file = fileSystem.inspectTarget(path);
    const auto folder = fileSystem.identityOf(folderOf(path.local));
    return {std::move(path), file, folder};
}

bool nameOneFile(const LookedAt& first, const LookedAt& second) {
    if (first.path.local == second.path.local) {
        return true;
    }
    if (first.file && second.file) {
        return *first.file == *second.file;
    }
    // A name that does not exist yet is one file with another when both are the same name in
    // the same folder, however the folders' paths are spelt.
    if (!first.folder || first.folder != second.folder) {
        return false;
    }
    const std::string firstName = nameOf(first.path.local);
    const std::string secondName = nameOf(second.path.local);
    return (first.path.windowsName || second.path.windowsName)
               ? sameWindowsName(firstName, secondName)
               : firstName == secondName;
}

}  // namespace quorrel
