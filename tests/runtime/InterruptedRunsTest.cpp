// What a run reports and offers to put back of the files beside its targets: only what a run of
// its own can have made.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "Files.h"
#include "NumberedCase.h"
#include "TempDir.h"
#include "runtime/replace/InterruptedRuns.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quorrel {
namespace {

namespace fs = std::filesystem;

struct Planted {
    const char* what;
    const char* name;
    // Puts the entry at the path; false when this system or user cannot.
    std::function<bool(const fs::path&)> plant;
    bool sticky;      // the folder's entries may be removed only by their owners
    bool offered;     // reported as a stopped run's backup, with the command that puts it back
    const char* why;  // or reported as unexpected, for this reason; nullptr for neither
};

void PrintTo(const Planted& planted, std::ostream* out) {
    *out << planted.what;
}

constexpr const char* kBackup = ".skills.mul.quorrel-old-0123456789abcdef-1";

bool regularFile(const fs::path& path) {
    testing::writeFile(path, testing::bytesOf("old data"));
    return true;
}

#ifndef _WIN32
// Another user's file, which only root can make.
bool othersFile(const fs::path& path) {
    return ::geteuid() == 0 && regularFile(path) && ::chown(path.c_str(), 5002, 5002) == 0;
}
#endif

class KeptFilesFilter : public ::testing::TestWithParam<Planted> {};

// A link, a folder, a pipe or, where only owners may remove entries, another user's file may
// carry a backup's name, but no run made it: put back, it would replace the table with a link to
// another file, or with nothing. It is said to be unexpected, never offered, never removed.
TEST_P(KeptFilesFilter, OffersOnlyWhatARunCanHaveMade) {
    const Planted& planted = GetParam();
    const testing::TempDir dir;
    if (planted.sticky) {
        fs::permissions(dir.path(), fs::perms::sticky_bit | fs::perms::all, fs::perm_options::add);
    }
    dir.write("skills.mul", testing::bytesOf("new data"));
    const fs::path entry = dir.path() / planted.name;
    if (!planted.plant(entry)) {
        GTEST_SKIP() << "cannot make " << planted.what << " here";
    }
    const std::string target = (dir.path() / "skills.mul").string();
    FileSystem& fileSystem = FileSystem::native();
    const std::array targets = {lookAtTarget(fileSystem, LocalPath{target, target})};
    const LeftBeside left = findKeptFiles(fileSystem, targets);
    EXPECT_EQ(left.kept.size(), planted.offered ? 1u : 0u);
    ASSERT_EQ(left.unexpected.size(), planted.why ? 1u : 0u);
    if (planted.why) {
        EXPECT_EQ(left.unexpected[0].path, entry.string());
        EXPECT_EQ(left.unexpected[0].why, planted.why);
    }
    tidyAfterInterruptedRuns(fileSystem, targets);
    EXPECT_TRUE(fs::exists(fs::symlink_status(entry))) << "a run removed " << planted.what;
}

std::vector<Planted> planted() {
    std::vector<Planted> cases = {
        {"a backup", kBackup, regularFile, false, true, nullptr},
        {"a file of another shape", ".skills.mul.quorrel-old-evil", regularFile, false, false,
         nullptr},
        {"a folder", kBackup, [](const fs::path& path) { return fs::create_directory(path); },
         false, false, "it is a folder"},
    };
#ifndef _WIN32
    const auto link = [](const char* to) {
        return [to](const fs::path& path) {
            fs::create_symlink(to, path);
            return true;
        };
    };
    cases.push_back({"a link to another file", kBackup, link("/etc/hostname"), false, false,
                     "it is a symbolic link"});
    cases.push_back(
        {"a dangling link", kBackup, link("gone"), false, false, "it is a symbolic link"});
    cases.push_back({"a pipe", kBackup,
                     [](const fs::path& path) { return ::mkfifo(path.c_str(), 0600) == 0; }, false,
                     false, "it is a pipe"});
    cases.push_back({"another user's file in a shared folder", kBackup, othersFile, true, false,
                     "it is owned by another user"});
    // Elsewhere whoever may write the folder may replace the target itself as well.
    cases.push_back(
        {"another user's file in an ordinary folder", kBackup, othersFile, false, true, nullptr});
#endif
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Entries, KeptFilesFilter, ::testing::ValuesIn(planted()),
                         testing::NumberedCase());

}  // namespace
}  // namespace quorrel
