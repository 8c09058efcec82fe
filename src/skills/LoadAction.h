#pragma once

#include "LoadHost.h"
#include "runtime/filetable/FileTable.h"

namespace quorrel {

// Rebuilds the host's list from the skill files: empties it, reads the index file record by
// record, and for every used record appends the name from the data file, checked when its flag
// byte is non-zero; at the end the first item, if any, is current. Only reads the two files.
//
// On failure it throws a Failure whose description says what is wrong and with which file first,
// then in parentheses the index record and file concerned; the items added before it stay in the
// list, and every file the run opened is closed again. A used record whose flag byte lies at or
// past the end of the data file is a bad-read-position failure. Memory running out anywhere in the
// run is such a failure too, of the out-of-memory kind, never an escaping std::bad_alloc. The
// index is read in blocks of whole records and ends where a read brings no whole record, so each
// record is one the file held at some moment. During a long run the host's whileLoading() is
// called a few times a second.
void loadSkills(LoadHost& host, FileTable& files);

}  // namespace quorrel
