#pragma once

#include <cstddef>

#include "BenchTables.h"

namespace quorrel::bench {

// The least a load of a skill table can cost: the index file read in the same 64 KiB pieces the
// load action reads it in, and per used record the data file opened, the flag byte and the name
// read with one pread each, and the data file closed. Nothing is decoded, kept or listed.
// Returns the number of used records, so the work cannot be optimised away.
std::size_t floorLoad(const TablePaths& table);

// The same with one pread per used record for the flag and the name together, which is what the
// load action's read-ahead does for a short name.
std::size_t floorLoadOneRead(const TablePaths& table);

// Exactly the system calls the load action makes per used record: open, fstat (which refuses a
// device or a pipe in the file's place), one pread of its 256-byte read-ahead window, close. Beside
// the load action it tells the cost of the load's own code from that of its calls.
std::size_t floorLoadOwnCalls(const TablePaths& table);

}  // namespace quorrel::bench
