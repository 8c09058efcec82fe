// How files are opened on Windows: names as UTF-16, and shared with the programs that write them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "runtime/filetable/FileTable.h"
#include "runtime/system/UniqueHandleWindows.h"
#include "skills/SkillFileLayout.h"

namespace quorrel {
namespace {

UniqueHandle openForWriting(const std::filesystem::path& path) {
    return UniqueHandle(CreateFileW(path.wstring().c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string utf8(const std::u8string& text) {
    return {text.begin(), text.end()};
}

TEST(WindowsFile, OpensNamesOutsideTheCodePageGivenAsUtf8) {
    const testing::TempDir dir;
    const std::u8string name = u8"Sk\u00efll \u20ac \u0416 \u6280.mul";
    const std::vector<std::uint8_t> bytes = {42, 43};
    testing::writeFile(dir.path() / name, bytes);

    FileTable files;
    files.open(1, utf8((dir.path() / name).u8string()));
    std::uint8_t flag = 0;
    files.getByte(1, 2, flag);
    EXPECT_EQ(flag, 43);
}

TEST(WindowsFile, AnOpenFileStaysWritableAndDeletableForOtherPrograms) {
    const testing::TempDir dir;
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    const std::filesystem::path path = dir.write("skills.mul", bytes);

    FileTable files;
    files.open(1, path.string());
    EXPECT_TRUE(openForWriting(path)) << "the open file is locked against writers";
    EXPECT_NE(DeleteFileW(path.wstring().c_str()), 0) << "the open file is locked against deletion";
    files.close(1);
}

TEST(WindowsFile, AFileAnotherProgramWritesCanBeRead) {
    const testing::TempDir dir;
    const std::vector<std::uint8_t> bytes = {7};
    const std::filesystem::path path = dir.write("skills.idx", bytes);
    const UniqueHandle writer = openForWriting(path);
    ASSERT_TRUE(writer);

    FileTable files;
    files.open(1, path.string());
    std::uint8_t flag = 0;
    files.getByte(1, 1, flag);
    EXPECT_EQ(flag, 7);
}

}  // namespace
}  // namespace quorrel
