// Which links a write follows: those the system itself follows for a shell's ">".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ExpectFailure.h"
#include "FileSystemWrapper.h"
#include "NumberedCase.h"
#include "TempDir.h"
#include "runtime/replace/LookedAt.h"

#ifndef _WIN32
namespace quorrel {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kCaller = 1000;
constexpr std::uint32_t kFolderOwner = 2000;
constexpr std::uint32_t kStranger = 3000;

// A folder's and a link's owners and the folder's mode as the case says; the rest as it is.
class OwnedAs final : public fault::FileSystemWrapper {
  public:
    OwnedAs(std::string folder, std::uint32_t linkOwner, std::uint32_t mode)
        : FileSystemWrapper(FileSystem::native()),
          folder_(std::move(folder)),
          linkOwner_(linkOwner),
          mode_(mode) {}

    FileStatus statusOf(const std::string& local) noexcept override {
        FileStatus status = FileSystemWrapper::statusOf(local);
        if (local == folder_) {
            status.owner = kFolderOwner;
            status.permissions = mode_ & 0777;
            status.sticky = (mode_ & 01000) != 0;
        }
        return status;
    }
    FileStatus entryStatusOf(const std::string& local) noexcept override {
        FileStatus status = FileSystemWrapper::entryStatusOf(local);
        if (status.kind == FileKind::SymbolicLink) {
            status.owner = linkOwner_;
        }
        return status;
    }
    std::optional<std::uint32_t> currentUser() noexcept override { return kCaller; }
    std::optional<std::string> userName(std::uint32_t) override { return std::nullopt; }

  private:
    std::string folder_;
    std::uint32_t linkOwner_;
    std::uint32_t mode_;
};

struct LinkCase {
    std::uint32_t folderMode;
    std::uint32_t linkOwner;
    bool followed;
};

class TargetLink : public ::testing::TestWithParam<LinkCase> {};

// A link to a private file, in a shared folder: followed, or refused naming the link and its
// owner, and the file it leads to is then never the target.
TEST_P(TargetLink, IsFollowedOnlyWhereTheSystemWouldFollowIt) {
    const LinkCase& link = GetParam();
    const testing::TempDir dir;
    const std::string secret = dir.write("secret", std::vector<std::uint8_t>{1});
    const std::string shared = (dir.path() / "shared").string();
    fs::create_directory(shared);
    const std::string planted = shared + "/table.csv";
    fs::create_symlink(secret, planted);
    OwnedAs fileSystem(shared, link.linkOwner, link.folderMode);
    if (link.followed) {
        EXPECT_EQ(lookAtTarget(fileSystem, {planted, planted}).path.local,
                  fs::canonical(secret).string());
    } else {
        EXPECT_FAILURE(lookAtTarget(fileSystem, {planted, planted}), FailureKind::WriteError,
                       "cannot write \"" + planted + "\": \"" + planted +
                           "\" is a symbolic link owned by uid 3000 in \"" + shared +
                           "\", a folder everyone may write; a link there is followed only when "
                           "it is yours or the folder owner's");
    }
}

INSTANTIATE_TEST_SUITE_P(Links, TargetLink,
                         ::testing::Values(LinkCase{01777, kStranger, false},
                                           LinkCase{01777, kCaller, true},
                                           LinkCase{01777, kFolderOwner, true},
                                           // Whoever may write the folder may replace the target.
                                           LinkCase{0777, kStranger, true},
                                           LinkCase{01775, kStranger, true},
                                           LinkCase{0755, kStranger, true}),
                         testing::NumberedCase());

}  // namespace
}  // namespace quorrel
#endif
