#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "runtime/replace/FileReplacement.h"

namespace quorrel {

// A file to write and everything it is to hold, when each target gets one version.
struct FileContents {
    LocalPath target;
    std::span<const std::uint8_t> bytes;
};

// replaceFiles with one version for each file, in the order given, the targets looked at first.
inline std::vector<std::string> replaceFiles(FileSystem& fileSystem,
                                             std::span<const FileContents> files) {
    std::vector<LookedAt> targets;
    std::vector<FileVersion> versions;
    for (const FileContents& file : files) {
        versions.push_back({targets.size(), {file.bytes}});
        targets.push_back(lookAtTarget(fileSystem, file.target));
    }
    return replaceFiles(fileSystem, targets, versions);
}

}  // namespace quorrel
