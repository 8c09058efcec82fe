#pragma once

#include <memory>

#include "LocalPath.h"
#include "ReadableFile.h"

namespace quorrel {

// Opens an existing regular file of the system for reading only, shared with other programs and
// never created; the file owns its handle and closes it when it goes. Throws an open-refused
// failure naming the path and the system's reason when it cannot, and one saying what the path
// is instead when it names a folder, a device, a pipe or a socket: those have no fixed bytes to
// read records from.
std::unique_ptr<ReadableFile> openNativeFile(const LocalPath& file);

}  // namespace quorrel
