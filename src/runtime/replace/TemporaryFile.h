#pragma once

#include <memory>
#include <string>

#include "runtime/files/FileSystem.h"

namespace quorrel {

// A new hidden temporary file beside a target, open for writing.
struct TemporaryFile {
    std::string path;
    std::unique_ptr<WritableFile> file;
};

// Creates a temporary file beside `target` under a fresh name (".NAME.quorrel-new-TAG", as
// SideNames names them): a random tag is all but certain to be free, and the tries that follow a
// clash make one harmless. Throws a write-error failure naming the target as `shown` when no
// name is free, and the system's failure when one cannot be created.
TemporaryFile createTemporaryBeside(FileSystem& fileSystem, const std::string& target,
                                    const std::string& shown);

}  // namespace quorrel
