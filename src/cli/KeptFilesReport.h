#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "runtime/replace/InterruptedRuns.h"
#include "runtime/replace/TargetReplacement.h"

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

// Says on `err`, each line after "PROGRAM: ", what a program that only reads found of stopped runs
// beside the targets (whatStoppedRunsLeft), the files as they are now; or that a run is writing
// them, whose files are its own.
void sayStoppedRuns(std::ostream& err, std::string_view program, const StoppedRunsReport& report);

}  // namespace quorrel::cli
