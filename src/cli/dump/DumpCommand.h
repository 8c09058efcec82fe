#pragma once

#include <ostream>

#include "runtime/FileTable.h"

namespace quorrel::cli {

// The whole of quorrel-dump: reads the command line, loads the skill table and writes it to
// `out` in the chosen format; failures and usage errors go to `err`. Returns the exit status.
int runDumpCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The same, reading through the files of `files`.
int runDumpCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   FileTable& files);

}  // namespace quorrel::cli
