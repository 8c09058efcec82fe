#pragma once

#include <string>
#include <vector>

#include "TempDir.h"

namespace quorrel::testing {

// How a program run ended and what it wrote.
struct ProgramRun {
    int exitStatus = -1;  // -1 when the program did not exit normally (a signal, for instance)
    std::string out;
    std::string err;
};

// Runs `program` with `arguments` through the shell, its standard output and standard error
// caught in files inside `scratch`, and waits for it to end.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const TempDir& scratch);

}  // namespace quorrel::testing
