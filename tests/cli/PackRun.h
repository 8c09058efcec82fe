#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "DumpCommand.h"
#include "PackCommand.h"
#include "SkillTableFiles.h"
#include "runtime/NativeFileWriter.h"

namespace quorrel::testing {

struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

// Runs quorrel-pack in this process with `input` as its standard input.
inline CommandRun packWith(FileWriter& writer, std::vector<std::string> arguments,
                           const std::string& input) {
    arguments.insert(arguments.begin(), "quorrel-pack");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status =
        cli::runPackCommand(static_cast<int>(argv.size()), argv.data(), in, out, err, writer);
    return CommandRun{status, out.str(), err.str()};
}

inline CommandRun pack(std::vector<std::string> arguments, const std::string& input = {}) {
    NativeFileWriter writer;
    return packWith(writer, std::move(arguments), input);
}

// Runs quorrel-dump in this process on the pair.
inline CommandRun dumpRun(const SkillTablePaths& paths, const std::string& format = "text") {
    const char* argv[] = {"quorrel-dump",      "--data",   paths.data.c_str(), "--index",
                          paths.index.c_str(), "--format", format.c_str()};
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::runDumpCommand(7, argv, out, err);
    return CommandRun{status, out.str(), err.str()};
}

// What quorrel-dump prints for the pair, which it must read in full.
inline std::string dump(const SkillTablePaths& paths, const std::string& format) {
    const CommandRun run = dumpRun(paths, format);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.out;
}

inline std::string contentsOf(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

}  // namespace quorrel::testing
