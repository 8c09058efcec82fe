#pragma once

#include <ostream>

#include "runtime/files/FileSystem.h"

namespace quorrel::cli {

// The whole of quorrel-dump: reads the command line, loads the skill table and writes it to
// `out`, or to the file --output names, in the chosen format; failures, usage errors and what
// packing the output back would not keep go to `err`. Every file is read and written through
// `fileSystem`. Returns the exit status.
int runDumpCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   FileSystem& fileSystem = FileSystem::native());

}  // namespace quorrel::cli
