#pragma once

#include <optional>
#include <string>

#include "runtime/files/FileSystem.h"

namespace quorrel {

// Gives the new file at `fresh`, before it is renamed over `target`, what a rewrite with `sed -i`
// keeps of the file it replaces: its mode always; its owner and group where this process may set
// them; its access control list and extended attributes where the file systems have them. What
// could not be kept, in one line ("the new "a.csv" does not keep the old one's owner "bob" (uid
// 1001), which only root may give a file"); nothing when all was kept.
std::optional<std::string> keepWhatSedKeeps(FileSystem& fileSystem, const LocalPath& target,
                                            const std::string& fresh);

}  // namespace quorrel
