#include "ProgramRun.h"

#include <sys/wait.h>

#include <cstdlib>

#include "Files.h"

namespace quorrel::testing {
namespace {

// Single quotes keep every character but the single quote itself; that one is closed, escaped
// and reopened.
std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char character : text) {
        quoted += character == '\'' ? std::string("'\\''") : std::string(1, character);
    }
    return quoted + "'";
}

}  // namespace

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const TempDir& scratch) {
    const auto outFile = scratch.path() / "program-stdout";
    const auto errFile = scratch.path() / "program-stderr";
    std::string command = shellQuoted(program);
    for (const std::string& argument : arguments) {
        command += " " + shellQuoted(argument);
    }
    command += " >" + shellQuoted(outFile.string()) + " 2>" + shellQuoted(errFile.string());

    const int waitStatus = std::system(command.c_str());
    ProgramRun run;
    if (waitStatus != -1 && WIFEXITED(waitStatus)) {
        run.exitStatus = WEXITSTATUS(waitStatus);
    }
    run.out = contentsOf(outFile).value_or("");
    run.err = contentsOf(errFile).value_or("");
    return run;
}

}  // namespace quorrel::testing
