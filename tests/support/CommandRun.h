#pragma once

// quorrel-dump and quorrel-pack run in this process, as their mains run them; for the tests that
// link the command-line library.

#include <sstream>
#include <string>
#include <vector>

#include "cli/dump/DumpCommand.h"
#include "cli/pack/PackCommand.h"
#include "runtime/files/FileSystem.h"

namespace quorrel::testing {

// How a command ended and what it wrote.
struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

// Calls `command` with an argument vector of `program` and `arguments`, as main gets it.
template <typename Command>
int withArgv(const char* program, const std::vector<std::string>& arguments, Command&& command) {
    std::vector<const char*> argv = {program};
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    return command(static_cast<int>(argv.size()), argv.data());
}

// Runs quorrel-dump on the files of `fileSystem`; with `outFails`, writing to its standard output
// fails.
inline CommandRun runDumpWith(FileSystem& fileSystem, const std::vector<std::string>& arguments,
                              bool outFails = false) {
    std::ostringstream out;
    if (outFails) {
        out.setstate(std::ios::badbit);
    }
    std::ostringstream err;
    const int status = withArgv("quorrel-dump", arguments, [&](int argc, const char* const* argv) {
        return cli::runDumpCommand(argc, argv, out, err, fileSystem);
    });
    return CommandRun{status, out.str(), err.str()};
}

// Runs quorrel-dump on the system's own files.
inline CommandRun runDump(const std::vector<std::string>& arguments, bool outFails = false) {
    return runDumpWith(FileSystem::native(), arguments, outFails);
}

// Runs quorrel-pack on the files of `fileSystem`, with `input` as its standard input.
inline CommandRun runPackWith(FileSystem& fileSystem, const std::vector<std::string>& arguments,
                              const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = withArgv("quorrel-pack", arguments, [&](int argc, const char* const* argv) {
        return cli::runPackCommand(argc, argv, in, out, err, fileSystem);
    });
    return CommandRun{status, out.str(), err.str()};
}

// Runs quorrel-pack on the system's own files.
inline CommandRun runPack(const std::vector<std::string>& arguments,
                          const std::string& input = {}) {
    return runPackWith(FileSystem::native(), arguments, input);
}

}  // namespace quorrel::testing
