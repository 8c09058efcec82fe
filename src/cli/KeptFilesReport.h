#pragma once

#include <string>

#include "runtime/replace/InterruptedRuns.h"

// What quorrel-pack and quorrel-dump say of the files that stopped runs left beside a table.

namespace quorrel::cli {

// The report of one such run, with the command that puts its files back (in the shell of the
// system: mv, or move on Windows). With `onlyReplaced`, for the files as they are now, a backup
// still the same as its target is only removed; without it, for targets about to be replaced,
// every backup is moved back. Part of a run's backups (the rest removed by the run as it
// finished, or beside other files) gets no command: alone they would not put a table back.
std::string describeKeptFiles(const KeptFiles& kept, bool onlyReplaced);

// A path quoted for cmd.exe, so that it names exactly that path: "C:\a"^%"b" for C:\a%b.
std::string cmdQuoted(const std::string& path);

// The report of an unexpected entry, which says that it is left alone.
std::string describeUnexpected(const UnexpectedFile& unexpected);

}  // namespace quorrel::cli
