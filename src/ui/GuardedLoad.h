#pragma once

#include <optional>
#include <string>

#include "runtime/filetable/FileTable.h"
#include "skills/LoadHost.h"

namespace quorrel {

// Runs the load action for a window and catches whatever stops it, so that no exception leaves
// the window's event handling: the description of the failure to show the user, or nothing when
// the load ran to its end. A Failure gives its own description; running out of memory or any
// other exception gives one that says what went wrong, then names the index file being loaded.
std::optional<std::string> loadGuarded(LoadHost& host, FileTable& files) noexcept;

// The failure as the window shows it: after one that names a path the window started with, still
// in its field, the hint that the user may type the paths or drop the files, which they may not
// know yet. The same in every window.
std::string failureShown(const std::string& failure, const LoadHost& host);

}  // namespace quorrel
