// How files are opened on Windows: names as UTF-16, and shared with the programs that write them.
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TempDir.h"
#include "runtime/FileTable.h"
#include "skills/SkillTableLayout.h"

namespace quorrel {
namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

UniqueHandle openForWriting(const std::filesystem::path& path) {
    const HANDLE handle = CreateFileW(path.wstring().c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
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
    EXPECT_NE(openForWriting(path), nullptr) << "the open file is locked against writers";
    EXPECT_NE(DeleteFileW(path.wstring().c_str()), 0) << "the open file is locked against deletion";
    files.close(1);
}

TEST(WindowsFile, AFileAnotherProgramWritesCanBeRead) {
    const testing::TempDir dir;
    const std::vector<std::uint8_t> bytes = {7};
    const std::filesystem::path path = dir.write("skills.idx", bytes);
    const UniqueHandle writer = openForWriting(path);
    ASSERT_NE(writer, nullptr);

    FileTable files;
    files.open(1, path.string());
    std::uint8_t flag = 0;
    files.getByte(1, 1, flag);
    EXPECT_EQ(flag, 7);
}

}  // namespace
}  // namespace quorrel
