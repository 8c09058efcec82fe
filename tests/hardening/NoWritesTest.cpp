#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "ExpectFailure.h"
#include "HostileTables.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadAction.h"
#include "skills/StandaloneHost.h"

namespace quorrel::testing {
namespace {

namespace fs = std::filesystem;

struct FileState {
    std::vector<char> contents;
    fs::file_time_type modified;
    fs::file_type type = fs::file_type::none;

    bool operator==(const FileState&) const = default;
};

// Everything in the directory: each entry's kind, contents and modification time.
std::map<std::string, FileState> snapshot(const fs::path& directory) {
    std::map<std::string, FileState> entries;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        FileState state{{}, entry.last_write_time(), entry.status().type()};
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            state.contents.assign(std::istreambuf_iterator<char>(in), {});
        }
        entries.emplace(entry.path().string(), std::move(state));
    }
    return entries;
}

// Dates every file a day back, so that a write during the test, however quick, moves its
// modification time. Folders keep theirs: MinGW's library cannot set a folder's time on Windows,
// and a file made or removed in one shows in the count of entries anyway.
void backdate(const fs::path& directory) {
    const auto dayAgo = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        if (!entry.is_directory()) {
            fs::last_write_time(entry.path(), dayAgo);
        }
    }
}

// Loads that succeed and loads that fail in every way write nothing: every file keeps its
// contents and modification time, and no file appears, not even where a path named a missing one.
TEST(NoWrites, LoadsLeaveTheFilesAndTheirFolderAsTheyWere) {
    const HostileTables tables;
    backdate(tables.directory().path());
    const auto before = snapshot(tables.directory().path());

    FileTable files;
    for (int round = 0; round < 20; ++round) {
        for (const LoadCase& loadCase : tables.cases()) {
            StandaloneHost host(loadCase.paths.data, loadCase.paths.index);
            // Each case's outcome is checked by the leak test; here only the files matter.
            failureOf([&] { loadSkills(host, files); });
        }
    }

    const auto after = snapshot(tables.directory().path());
    EXPECT_EQ(after.size(), before.size()) << "a load created or removed a file";
    for (const auto& [path, state] : before) {
        const auto now = after.find(path);
        ASSERT_NE(now, after.end()) << path << " is gone";
        EXPECT_TRUE(now->second == state) << path << " was changed";
    }
}

}  // namespace
}  // namespace quorrel::testing
