#pragma once

// quorrel-dump and quorrel-pack run in this process, as their mains run them; for the tests that
// link the command-line library.

#include <sstream>
#include <string>
#include <vector>

#include "cli/dump/DumpCommand.h"
#include "cli/pack/PackCommand.h"
#include "runtime/files/NativeFileWriter.h"

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

// Runs quorrel-dump, writing --output's file through `writer`.
inline CommandRun runDumpWith(FileWriter& writer, const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    FileTable files;
    const int status = withArgv("quorrel-dump", arguments, [&](int argc, const char* const* argv) {
        return cli::runDumpCommand(argc, argv, out, err, files, writer);
    });
    return CommandRun{status, out.str(), err.str()};
}

// Runs quorrel-dump; with `outFails`, writing to its standard output fails.
inline CommandRun runDump(const std::vector<std::string>& arguments, bool outFails = false) {
    std::ostringstream out;
    if (outFails) {
        out.setstate(std::ios::badbit);
    }
    std::ostringstream err;
    const int status = withArgv("quorrel-dump", arguments, [&](int argc, const char* const* argv) {
        return cli::runDumpCommand(argc, argv, out, err);
    });
    return CommandRun{status, out.str(), err.str()};
}

// Runs quorrel-pack through `writer`, with `input` as its standard input.
inline CommandRun runPackWith(FileWriter& writer, const std::vector<std::string>& arguments,
                              const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = withArgv("quorrel-pack", arguments, [&](int argc, const char* const* argv) {
        return cli::runPackCommand(argc, argv, in, out, err, writer);
    });
    return CommandRun{status, out.str(), err.str()};
}

// Runs quorrel-pack on the system's own files.
inline CommandRun runPack(const std::vector<std::string>& arguments,
                          const std::string& input = {}) {
    NativeFileWriter writer;
    return runPackWith(writer, arguments, input);
}

}  // namespace quorrel::testing
