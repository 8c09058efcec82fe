#pragma once

#include <istream>
#include <ostream>

#include "runtime/files/FileSystem.h"

namespace quorrel::cli {

// The whole of quorrel-pack: reads the command line, reads the list from --from or `in`, and
// writes the two files through `fileSystem`, all or nothing; failures and usage errors go to
// `err`. Returns the exit status.
int runPackCommand(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                   std::ostream& err, FileSystem& fileSystem = FileSystem::native());

}  // namespace quorrel::cli
