#pragma once

#include <ostream>

#include "runtime/files/FileWriter.h"
#include "runtime/filetable/FileTable.h"

namespace quorrel::cli {

// The whole of quorrel-dump: reads the command line, loads the skill table and writes it to
// `out`, or to the file --output names, in the chosen format; failures, usage errors and what
// packing the output back would not keep go to `err`. Returns the exit status.
int runDumpCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The same, reading through the files of `files` and writing --output's file through `writer`.
int runDumpCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   FileTable& files, FileWriter& writer);

}  // namespace quorrel::cli
