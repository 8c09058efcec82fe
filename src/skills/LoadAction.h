#pragma once

#include "LoadHost.h"
#include "runtime/FileTable.h"

namespace quorrel {

// Rebuilds the host's list from the skill files: empties it, reads the index file record by
// record, and for every used record appends the name from the data file, checked when its flag
// byte is non-zero; at the end the first item, if any, is current. Only reads the two files.
//
// On failure it throws a Failure whose description names the file and index record concerned;
// the items added before it stay in the list, and every file the run opened is closed again.
// Memory running out anywhere in the run is such a failure too, of the out-of-memory kind, never
// an escaping std::bad_alloc. The end of the index is where its reads come up short, so a file
// that changes during the run gives a table it held at some moment.
void loadSkills(LoadHost& host, FileTable& files);

}  // namespace quorrel
