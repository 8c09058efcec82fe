// Drive-letter paths on systems where the game runs under Wine. Not built on Windows, where the
// system itself reads these paths.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ExpectFailure.h"
#include "FileSystemWrapper.h"
#include "ScopedVariable.h"
#include "TempDir.h"
#include "runtime/base/Failure.h"
#include "runtime/filetable/FileTable.h"
#include "runtime/paths/PathResolver.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

using testing::ScopedVariable;

// The real file system, counting the folders listed.
struct CountingListings final : fault::FileSystemWrapper {
    CountingListings() : FileSystemWrapper(FileSystem::native()) {}

    std::vector<std::string> namesIn(const std::string& folder) override {
        ++listings;
        return FileSystemWrapper::namesIn(folder);
    }

    std::size_t listings = 0;
};

LocalPath resolved(const std::string& typed) {
    return PathResolver(FileSystem::native()).resolve(typed);
}

// A Wine prefix, the one WINEPREFIX names, whose C: drive holds "Program Files/Ultima
// Online/skills.mul" in the case the game's installer writes, plus a lower-case "data" folder
// with a name that starts with a capital letter outside ASCII.
class PathResolverTest : public ::testing::Test {
  protected:
    PathResolverTest() {
        fs::create_directories(driveC() / "Program Files" / "Ultima Online");
        fs::create_directories(driveC() / "data");
        writeTo(driveC() / "Program Files" / "Ultima Online" / "skills.mul", {7});
        writeTo(driveC() / "data" / "skills.idx", {9});
        writeTo(driveC() / "data" / u8"\u00C9lan.mul", {4});
    }

    fs::path prefix() const { return dir_.path() / "prefix"; }
    fs::path driveC() const { return prefix() / "drive_c"; }
    std::string gameFile() const {
        return (driveC() / "Program Files" / "Ultima Online" / "skills.mul").string();
    }

    void linkDosDevice(const std::string& device, const fs::path& target) const {
        fs::create_directories(prefix() / "dosdevices");
        fs::create_directory_symlink(target, prefix() / "dosdevices" / device);
    }

    static void writeTo(const fs::path& path, std::vector<std::uint8_t> bytes) {
        quorrel::testing::writeFile(path, bytes);
    }

    testing::TempDir dir_;
    ScopedVariable winePrefix_{"WINEPREFIX", prefix().string()};
};

TEST_F(PathResolverTest, DrivePathsResolveInsideThePrefixWhateverTheCaseAndSeparators) {
    const std::string data = (driveC() / "data" / "skills.idx").string();
    const std::string elan = (driveC() / "data" / "\u00C9lan.mul").string();
    struct Case {
        std::string typed;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {R"(c:\Program Files\Ultima Online\skills.mul)", gameFile()},
        {R"(C:/Program Files/Ultima Online/skills.mul)", gameFile()},
        {R"(c:\program files\ultima online\skills.mul)", gameFile()},
        {R"(c:\PROGRAM FILES/ultima ONLINE\SKILLS.MUL)", gameFile()},
        {R"(c:\\data\\.\skills.idx)", data},
        {R"(c:\Program Files\..\DATA\skills.idx)", data},
        {R"(c:\..\data\skills.idx)", data},
        // Names are matched as Windows matches them: any letter's case, and the dots and spaces
        // that end a name, which Windows drops.
        {"c:\\data\\\u00E9lan.mul", elan},
        {"c:\\DATA\\\u00C9LAN.MUL. .", elan},
        {"c:\\data\\skills.idx.", data},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const LocalPath path = resolved(c.typed);
        EXPECT_EQ(path.typed, c.typed);
        EXPECT_EQ(path.local, c.expected);
    }
}

// A file is written where a read of the same path would find it: an existing one in whatever case
// it has, a new one in the folder a read would find, with the name as typed.
TEST_F(PathResolverTest, PathsToWriteResolveAsAReadWouldFindThem) {
    PathResolver resolver(FileSystem::native());
    const fs::path game = driveC() / "Program Files" / "Ultima Online";
    EXPECT_EQ(resolver.resolveForWriting(R"(c:\program files\ultima online\SKILLS.MUL)").local,
              gameFile());
    EXPECT_EQ(resolver.resolveForWriting(R"(c:\program files\ultima online\New.idx)").local,
              (game / "New.idx").string());
    EXPECT_EQ(resolver.resolveForWriting("plain/skills.idx").local, "plain/skills.idx");
    for (const char* refused : {R"(c:\nowhere\skills.idx)", "c:", R"(c:\..)"}) {
        EXPECT_THROW(resolver.resolveForWriting(refused), Failure) << refused;
    }
}

TEST_F(PathResolverTest, OtherPathsAreUsedAsTheyAre) {
    for (const std::string typed :
         {"/tmp/skills.mul", "skills.mul", R"(\program files\skills.mul)", "1:/skills.mul", ""}) {
        SCOPED_TRACE(typed);
        EXPECT_EQ(resolved(typed).local, typed);
        EXPECT_EQ(resolved(typed).quoted(), "\"" + typed + "\"");
    }
}

TEST_F(PathResolverTest, TheDosDevicesLinkTakesPrecedenceOverDriveFolders) {
    const fs::path elsewhere = dir_.path() / "elsewhere";
    fs::create_directories(elsewhere / "Data");
    writeTo(elsewhere / "Data" / "skills.idx", {1});
    linkDosDevice("c:", elsewhere);

    EXPECT_EQ(resolved(R"(C:\data\skills.idx)").local,
              (prefix() / "dosdevices" / "c:" / "Data" / "skills.idx").string());
    EXPECT_FAILURE(resolved(R"(c:\Program Files\Ultima Online\skills.mul)"),
                   FailureKind::OpenRefused,
                   testing::HasSubstr(R"(no "Program Files" in ")" +
                                      (prefix() / "dosdevices" / "c:").string()));
}

TEST_F(PathResolverTest, ABrokenDosDevicesLinkFallsBackToTheDriveFolder) {
    linkDosDevice("c:", dir_.path() / "gone");
    EXPECT_EQ(resolved(R"(c:\program files\ultima online\skills.mul)").local, gameFile());
}

TEST_F(PathResolverTest, OtherDrivesComeFromTheirOwnLinksOrFolders) {
    const fs::path media = dir_.path() / "media";
    fs::create_directories(media);
    writeTo(media / "Skills.Mul", {1});
    linkDosDevice("d:", media);
    fs::create_directories(prefix() / "drive_e");
    writeTo(prefix() / "drive_e" / "skills.idx", {1});

    EXPECT_EQ(resolved(R"(D:\skills.mul)").local,
              (prefix() / "dosdevices" / "d:" / "Skills.Mul").string());
    EXPECT_EQ(resolved("e:/skills.idx").local, (prefix() / "drive_e" / "skills.idx").string());
}

TEST_F(PathResolverTest, TheExactNameWinsOverOthersInOtherCase) {
    const fs::path folder = driveC() / "data";
    writeTo(folder / "SKILLS.IDX", {2});
    writeTo(folder / "Skills.idx", {3});
    EXPECT_EQ(resolved(R"(c:\data\Skills.idx)").local, (folder / "Skills.idx").string());
    // With no exact match the choice among the others does not depend on the listing's order.
    EXPECT_EQ(resolved(R"(c:\data\sKILLS.IDX)").local, (folder / "SKILLS.IDX").string());
}

// Windows first trims the dots and spaces off the name's end (one dot off a folder's), then takes
// the exact name, and only then one that is the same ignoring case, letter by UTF-16 unit: a
// letter past the Basic Multilingual Plane has no case. A new file gets the trimmed name.
TEST_F(PathResolverTest, SpellingsAreTrimmedThenTakenExactlyThenIgnoringCase) {
    const fs::path folder = driveC() / "g";
    fs::create_directories(folder);
    for (const char* name : {"Skills.mul", "skills.mul", "\U00010400.mul"}) {
        writeTo(folder / name, {1});
    }
    struct Case {
        std::string typed;
        std::optional<std::string> expected;  // the name found in the folder; none: refused
    };
    const std::vector<Case> cases = {
        {R"(c:\g\skills.mul )", "skills.mul"},    {R"(c:\g\skills.mul.)", "skills.mul"},
        {R"(c:\g\Skills.mul . .)", "Skills.mul"}, {R"(c:\g.\skills.mul)", "skills.mul"},
        {R"(c:\G\SKILLS.MUL. )", "Skills.mul"},   {"c:\\g\\\U00010400.MUL", "\U00010400.mul"},
        {"c:\\g\\\U00010428.mul", std::nullopt},
    };
    PathResolver resolver(FileSystem::native());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        if (c.expected) {
            EXPECT_EQ(resolver.resolve(c.typed).local, (folder / *c.expected).string());
        } else {
            EXPECT_THROW(resolver.resolve(c.typed), Failure);
        }
    }
    EXPECT_EQ(resolver.resolveForWriting(R"(c:\g\new.mul. )").local, (folder / "new.mul").string());
}

// A folder that changes while a load runs, as one a game writes its logs into: each look reports a
// new change.
struct EverChangingFolder final : fault::FileSystemWrapper {
    explicit EverChangingFolder(std::string folder)
        : FileSystemWrapper(FileSystem::native()), folder_(std::move(folder)) {}

    FileStatus statusOf(const std::string& local) noexcept override {
        FileStatus status = FileSystemWrapper::statusOf(local);
        if (local == folder_) {
            status.changed += ++changes_;
        }
        return status;
    }
    std::vector<std::string> namesIn(const std::string& folder) override {
        ++listings;
        return FileSystemWrapper::namesIn(folder);
    }

    std::size_t listings = 0;

  private:
    std::string folder_;
    std::int64_t changes_ = 0;
};

// During a run the folder is listed once, however often it changes, and again only when the file
// its listing found is gone; outside a run a changed folder is listed again every time.
TEST_F(PathResolverTest, AFolderChangingDuringARunIsListedOnceForTheRun) {
    const fs::path game = driveC() / "Program Files" / "Ultima Online";
    const std::string typed = R"(c:\Program Files\Ultima Online\Skills.MUL)";
    EverChangingFolder changing(game.string());
    FileTable files(changing);
    {
        const auto run = files.runKeepingListings();
        for (int record = 0; record < 100; ++record) {
            files.open(1, typed);
            files.close(1);
        }
        EXPECT_EQ(changing.listings, 1u);
        fs::rename(gameFile(), game / "SKILLS.mul");
        files.open(1, typed);
        EXPECT_EQ(changing.listings, 2u);
        files.close(1);
    }
    for (int record = 0; record < 3; ++record) {
        files.open(1, typed);
        files.close(1);
    }
    EXPECT_EQ(changing.listings, 5u);
}

// Folders whose names must be matched ignoring case are listed once while they stay unchanged,
// however many times a path through them is resolved; a folder changed since is listed again, so
// a file that appears, vanishes or is renamed in it is seen.
TEST_F(PathResolverTest, AnUnchangedFolderIsListedOnceAndAChangedOneAgain) {
    const fs::path game = driveC() / "Program Files" / "Ultima Online";
    const auto settled = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const fs::path& folder : {driveC(), driveC() / "Program Files", game}) {
        fs::last_write_time(folder, settled);
    }
    const std::string typed = R"(c:\program files\ultima online\Skills.MUL)";
    CountingListings counting;
    PathResolver resolver(counting);
    for (int record = 0; record < 1000; ++record) {
        ASSERT_EQ(resolver.resolve(typed).local, gameFile());
    }
    EXPECT_EQ(counting.listings, 3u);

    fs::rename(gameFile(), game / "SKILLS.MUL");
    EXPECT_EQ(resolver.resolve(typed).local, (game / "SKILLS.MUL").string());
    fs::remove(game / "SKILLS.MUL");
    EXPECT_THROW(resolver.resolve(typed), Failure);
    writeTo(game / "skills.MUL", {5});
    EXPECT_EQ(resolver.resolve(typed).local, (game / "skills.MUL").string());
}

TEST_F(PathResolverTest, MissingPartsAreNamedInTheFailure) {
    const std::string drive = driveC().string();
    struct Case {
        std::string typed;
        std::string description;
    };
    const std::vector<Case> cases = {
        {R"(c:\Program Files\Ultima\skills.mul)",
         R"(cannot open "c:\Program Files\Ultima\skills.mul": no "Ultima" in ")" + drive +
             "/Program Files\""},
        {R"(c:\data\skills.mul)",
         R"(cannot open "c:\data\skills.mul": no "skills.mul" in ")" + drive + "/data\""},
        {R"(x:\skills.mul)", R"(cannot open "x:\skills.mul": no drive x: in the Wine prefix ")" +
                                 prefix().string() + R"(" (neither dosdevices/x: nor drive_x))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_FAILURE(resolved(c.typed), FailureKind::OpenRefused, c.description);
    }
    const ScopedVariable nowhere("WINEPREFIX", (dir_.path() / "none").string());
    EXPECT_FAILURE(resolved(R"(c:\skills.mul)"), FailureKind::OpenRefused,
                   R"(cannot open "c:\skills.mul": no Wine prefix at ")" +
                       (dir_.path() / "none").string() +
                       R"("; WINEPREFIX names the prefix that holds the game)");
}

TEST_F(PathResolverTest, NetworkPathsAreRefusedAsSuch) {
    for (const std::string typed : {R"(\\server\share\skills.mul)", R"(\\?\c:\skills.mul)"}) {
        SCOPED_TRACE(typed);
        EXPECT_FAILURE(
            resolved(typed), FailureKind::OpenRefused,
            ::testing::AllOf(testing::StartsWith("cannot open \"" + typed + "\": network paths"),
                             testing::HasSubstr("only on Windows")));
    }
}

TEST_F(PathResolverTest, APrefixFromTheEnvironmentOrElseHome) {
    const fs::path home = dir_.path() / "home";
    fs::create_directories(home / ".wine" / "drive_c");
    writeTo(home / ".wine" / "drive_c" / "skills.mul", {5});
    const ScopedVariable homeVariable("HOME", home.string());
    EXPECT_EQ(resolved(R"(c:\data\skills.idx)").local, (driveC() / "data" / "skills.idx").string());
    for (const std::optional<std::string>& unset :
         {std::optional<std::string>(), std::optional<std::string>("")}) {
        const ScopedVariable prefixVariable("WINEPREFIX", unset);
        EXPECT_EQ(resolved(R"(C:\SKILLS.MUL)").local,
                  (home / ".wine" / "drive_c" / "skills.mul").string());
    }
}

TEST_F(PathResolverTest, NoPrefixAtAllWhenNeitherVariableIsSet) {
    const ScopedVariable homeVariable("HOME", std::nullopt);
    const ScopedVariable prefixVariable("WINEPREFIX", std::nullopt);
    EXPECT_FAILURE(resolved(R"(c:\skills.mul)"), FailureKind::OpenRefused,
                   R"(cannot open "c:\skills.mul": neither WINEPREFIX nor HOME is set, so there )"
                   "is no Wine prefix to look for the drive in");
    EXPECT_EQ(resolved("skills.mul").local, "skills.mul");
}

// Through the file table, as the load action opens files: the bytes come from the resolved file,
// and a refused open names both the typed path and the file it led to.
TEST_F(PathResolverTest, TheFileTableOpensDrivePathsAndNamesTheResolvedFileWhenRefused) {
    FileTable files;
    files.open(1, R"(c:\program files\ultima online\skills.mul)");
    std::uint8_t flag = 0;
    files.getByte(1, 1, flag);
    EXPECT_EQ(flag, 7);
    files.close(1);

    // A file where a folder should be: the walk stops there and the system gives its reason.
    const std::string typed = R"(c:\data\SKILLS.IDX\more)";
    EXPECT_FAILURE(files.open(1, typed), FailureKind::OpenRefused,
                   "cannot open \"" + typed + "\" (resolved to \"" +
                       (driveC() / "data" / "skills.idx" / "more").string() +
                       "\"): Not a directory");
    EXPECT_EQ(files.openCount(), 0u);
}

TEST_F(PathResolverTest, TheFileTableNamesAMissingComponent) {
    FileTable files;
    EXPECT_FAILURE(files.open(1, R"(c:\x\skills.mul)"), FailureKind::OpenRefused,
                   R"(cannot open "c:\x\skills.mul": no "x" in ")" + driveC().string() + "\"");
    EXPECT_FALSE(files.isOpen(1));
}

}  // namespace
}  // namespace quorrel
