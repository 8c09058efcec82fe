#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ExpectFailure.h"
#include "ProcessResources.h"
#include "SystemReason.h"
#include "TempDir.h"
#include "runtime/base/Failure.h"
#include "runtime/filetable/FileTable.h"
#include "skills/SkillFileLayout.h"

namespace quorrel {
namespace {

using testing::TempDir;

std::vector<std::uint8_t> bytes(std::initializer_list<std::uint8_t> values) {
    return values;
}

std::vector<std::uint8_t> countingBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    return bytes;
}

// The access modes (O_RDONLY, O_WRONLY or O_RDWR) of every descriptor open on `path`.
std::vector<int> accessModesOf(const std::string& path) {
    std::vector<int> modes;
    const std::filesystem::path fds = "/proc/self/fd";
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(fds, ignored)) {
        if (std::filesystem::read_symlink(entry.path(), ignored) != path) {
            continue;
        }
        std::ifstream info("/proc/self/fdinfo/" + entry.path().filename().string());
        for (std::string key; info >> key;) {
            if (key == "flags:") {
                std::string octal;
                info >> octal;
                modes.push_back(std::stoi(octal, nullptr, 8) & 3);
            }
        }
    }
    return modes;
}

class FileTableTest : public ::testing::Test {
  protected:
    TempDir dir;
    FileTable files;
};

TEST_F(FileTableTest, FreeNumberIsTheLowestUnused) {
    const std::string path = dir.write("a.bin", countingBytes(8));
    EXPECT_EQ(files.freeNumber(), 1);
    files.open(1, path);
    files.open(3, path);
    EXPECT_EQ(files.freeNumber(), 2);
    files.open(2, path);
    EXPECT_EQ(files.freeNumber(), 4);
    files.close(1);
    EXPECT_EQ(files.freeNumber(), 1);
    EXPECT_EQ(files.openCount(), 2u);
}

TEST_F(FileTableTest, CloseFreesTheNumberAndIgnoresNumbersNotOpen) {
    const std::string path = dir.write("a.bin", countingBytes(8));
    files.open(files.freeNumber(), path);
    EXPECT_TRUE(files.isOpen(1));
    files.close(1);
    files.close(1);
    files.close(9);
    files.close(-4);
    EXPECT_FALSE(files.isOpen(1));
    EXPECT_EQ(files.openCount(), 0u);
    EXPECT_EQ(files.freeNumber(), 1);
}

TEST_F(FileTableTest, MissingFileIsRefusedWithPathAndReasonAndNotCreated) {
    const std::string path = (dir.path() / "missing.idx").string();
    EXPECT_FAILURE(files.open(1, path), FailureKind::OpenRefused,
                   "cannot open \"" + path + "\": " + testing::missingFileReason());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(files.isOpen(1));
    EXPECT_EQ(files.openCount(), 0u);
}

// A folder, a device or a pipe opens like a file but has no fixed bytes to read records from:
// each is refused at the open with what it is, also behind a link.
TEST_F(FileTableTest, WhatIsNotARegularFileIsRefusedAtTheOpen) {
    struct Case {
        std::string path;
        std::string reason;
    };
    std::vector<Case> cases;
#ifdef _WIN32
    cases = {{"NUL", "a device or a pipe"}, {dir.path().string(), "it is a folder, not a file"}};
#else
    const std::string fifo = (dir.path() / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto link = dir.path() / "zero-link";
    std::filesystem::create_symlink("/dev/zero", link);
    cases = {{"/dev/zero", "it is a character device, not a regular file"},
             {"/dev/null", "it is a character device, not a regular file"},
             {link.string(), "it is a character device, not a regular file"},
             {fifo, "it is a pipe, not a regular file"},
             {dir.path().string(), std::strerror(EISDIR)}};
#endif
    for (const Case& c : cases) {
        EXPECT_FAILURE(files.open(1, c.path), FailureKind::OpenRefused,
                       ::testing::AllOf(testing::StartsWith("cannot open \"" + c.path + "\""),
                                        testing::HasSubstr(c.reason)));
        EXPECT_EQ(files.openCount(), 0u);
    }
}

// A read the system refuses after a successful open is a read error with the system's reason;
// reading this process's own memory at address 0 is one that any Linux gives.
TEST_F(FileTableTest, AReadTheSystemRefusesIsAReadError) {
    if (!std::filesystem::exists("/proc/self/mem")) {
        GTEST_SKIP() << "this system has no /proc/self/mem to fail a read";
    }
    files.open(1, "/proc/self/mem");
    std::uint8_t byte = 0;
    // Wine shows the file to Windows programs too, and words the reason its own way.
#ifdef _WIN32
    EXPECT_FAILURE(files.getByte(1, 1, byte), FailureKind::ReadError,
                   testing::StartsWith("cannot read \"/proc/self/mem\": "));
#else
    EXPECT_FAILURE(files.getByte(1, 1, byte), FailureKind::ReadError,
                   "cannot read \"/proc/self/mem\": " + std::string(std::strerror(EIO)));
#endif
}

// A number keeps its memory from one file to the next (the path, the read-ahead window, the
// system's object): nothing of the file before may show through it, in the bytes, at the end or
// in a failure's words.
TEST_F(FileTableTest, ANumberOpenedAgainShowsNothingOfTheFileBefore) {
    const std::string longer = dir.write("long.bin", countingBytes(300));
    const std::string shorter = dir.write("short.bin", bytes({1, 2, 3}));
    std::uint8_t byte = 0;
    files.open(1, longer);
    files.getByte(1, 1, byte);
    files.close(1);

    files.open(1, shorter);
    EXPECT_EQ(files.path(1), shorter);
    std::array<std::uint8_t, 4> four{};
    EXPECT_EQ(files.getBytes(1, 1, four), 3u);
    EXPECT_EQ(four, (std::array<std::uint8_t, 4>{1, 2, 3, 0}));
    EXPECT_TRUE(files.endOfFile(1));
    files.getByte(1, 200, byte);
    EXPECT_EQ(byte, 0);
    files.close(1);

    if (std::filesystem::exists("/proc/self/mem")) {
        files.open(1, "/proc/self/mem");
        EXPECT_FAILURE(files.getByte(1, 1, byte), FailureKind::ReadError,
                       testing::StartsWith("cannot read \"/proc/self/mem\": "));
    }
}

// During a run the folder a file was opened in is held: a file of the same name is opened
// afresh each time, and a file rewritten is read, but a folder replaced is followed from the next
// run on. Where the system cannot hold a folder, the file is opened by its path: skipped there.
TEST_F(FileTableTest, ARunHoldsTheFolderUntilItEnds) {
    if (!FileSystem::native().holdFolder(dir.path().string())) {
        GTEST_SKIP() << "this system holds no folder open";
    }
    const std::filesystem::path folder = dir.path() / "game";
    const auto write = [](const std::filesystem::path& path, char byte) {
        std::ofstream(path, std::ios::binary) << byte;
    };
    const auto firstByte = [&] {
        std::uint8_t byte = 0;
        files.open(1, (folder / "skills.mul").string());
        files.getByte(1, 1, byte);
        files.close(1);
        return static_cast<char>(byte);
    };
    std::filesystem::create_directory(folder);
    write(folder / "skills.mul", 'a');
    {
        const auto run = files.runKeepingListings();
        EXPECT_EQ(firstByte(), 'a');
        write(folder / "skills.mul", 'b');
        EXPECT_EQ(firstByte(), 'b');
        std::filesystem::rename(folder, dir.path() / "moved");
        std::filesystem::create_directory(folder);
        write(folder / "skills.mul", 'c');
        EXPECT_EQ(firstByte(), 'b');
    }
    EXPECT_EQ(firstByte(), 'c');
    const auto run = files.runKeepingListings();
    EXPECT_EQ(firstByte(), 'c');
}

TEST_F(FileTableTest, OpensForReadingOnly) {
    if (!testing::processFiguresKnown()) {
        GTEST_SKIP() << "the system does not list open descriptors";
    }
    const std::string path = dir.write("a.bin", countingBytes(8));
    files.open(1, path);
    const auto canonical = std::filesystem::canonical(path).string();
    EXPECT_EQ(accessModesOf(canonical), std::vector<int>{0});  // O_RDONLY
}

TEST_F(FileTableTest, PositionStartsAtOneAndMovesPastEachRead) {
    const std::string path = dir.write("a.bin", countingBytes(32));
    files.open(1, path);
    EXPECT_EQ(files.position(1), 1);
    std::array<std::uint8_t, 4> four{};
    files.getBytes(1, 1, four);
    EXPECT_EQ(files.position(1), 5);
    std::uint8_t byte = 0;
    files.getByte(1, 10, byte);
    EXPECT_EQ(files.position(1), 11);
    std::array<std::uint8_t, 3> three{};
    files.getBytes(1, files.position(1), three);
    EXPECT_EQ(files.position(1), 14);
}

TEST_F(FileTableTest, ReadsTheBytesAtOneBasedPositions) {
    const auto bytes = countingBytes(32);
    files.open(1, dir.write("a.bin", bytes));
    std::uint8_t byte = 0;
    files.getByte(1, 1, byte);
    EXPECT_EQ(byte, bytes[0]);
    files.getByte(1, 32, byte);
    EXPECT_EQ(byte, bytes[31]);
    std::array<std::uint8_t, 4> four{};
    files.getBytes(1, 6, four);
    EXPECT_EQ(four, (std::array<std::uint8_t, 4>{bytes[5], bytes[6], bytes[7], bytes[8]}));
}

TEST_F(FileTableTest, ReadsPastTheEndGiveZerosAndNoFailure) {
    files.open(1, dir.write("short.bin", bytes({0x11, 0x22, 0x33})));
    std::array<std::uint8_t, 4> four{0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(files.getBytes(1, 2, four), 2u);
    EXPECT_EQ(four, (std::array<std::uint8_t, 4>{0x22, 0x33, 0, 0}));
    EXPECT_EQ(files.position(1), 6);

    std::uint8_t byte = 0xAA;
    files.getByte(1, 4, byte);
    EXPECT_EQ(byte, 0);
    files.getByte(1, 1'000'000, byte);
    EXPECT_EQ(byte, 0);
    EXPECT_EQ(files.position(1), 1'000'001);
    EXPECT_TRUE(files.endOfFile(1));
}

// The end is found by reading, not from a size taken at the open, so a file that changes while
// open ends where its reads end.
TEST_F(FileTableTest, EndOfFileOnceAReadComesUpShort) {
    const std::string path = dir.write("grows.bin", bytes({1, 2}));
    files.open(1, path);
    std::array<std::uint8_t, 2> two{};
    EXPECT_EQ(files.getBytes(1, 1, two), 2u);
    EXPECT_FALSE(files.endOfFile(1));
    EXPECT_EQ(files.getBytes(1, 3, two), 0u);
    EXPECT_TRUE(files.endOfFile(1));

    testing::writeFile(path, bytes({1, 2, 3, 4}));
    EXPECT_EQ(files.getBytes(1, 3, two), 2u);
    EXPECT_EQ(two, (std::array<std::uint8_t, 2>{3, 4}));
    EXPECT_FALSE(files.endOfFile(1));
}

TEST_F(FileTableTest, PositionBelowOneIsABadReadPositionNamingTheFile) {
    const std::string path = dir.write("a.bin", countingBytes(8));
    files.open(1, path);
    ByteBuffer buffer;
    buffer.redim(0, 3);
    for (const std::int64_t position : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{-5000}}) {
        std::uint8_t byte = 0;
        std::array<std::uint8_t, 4> four{};
        const std::string refusal = "cannot read \"" + path + "\" at position " +
                                    std::to_string(position) + ": positions start at 1";
        EXPECT_FAILURE(files.getBytes(1, position, four), FailureKind::BadReadPosition, refusal);
        EXPECT_FAILURE(files.getByte(1, position, byte), FailureKind::BadReadPosition, refusal);
        EXPECT_FAILURE(files.getBuffer(1, position, buffer), FailureKind::BadReadPosition, refusal);
    }
    EXPECT_EQ(files.position(1), 1);
}

TEST_F(FileTableTest, GetBufferFillsHeldPartAndMovesPastTheUnheldPart) {
    const auto bytes = countingBytes(6);
    files.open(1, dir.write("a.bin", bytes));
    ByteBuffer buffer;
    buffer.redim(0, 9, 4);  // ten elements, four held
    files.getBuffer(1, 2, buffer);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.stored().begin(), buffer.stored().end()),
              std::vector<std::uint8_t>(bytes.begin() + 1, bytes.begin() + 5));
    EXPECT_EQ(files.position(1), 12);
}

TEST_F(FileTableTest, GetBufferZeroFillsWhatLiesPastTheEnd) {
    files.open(1, dir.write("a.bin", bytes({9, 8, 7})));
    ByteBuffer buffer;
    buffer.redim(0, 4);
    std::fill(buffer.stored().begin(), buffer.stored().end(), std::uint8_t{0xEE});
    files.getBuffer(1, 2, buffer);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.stored().begin(), buffer.stored().end()),
              (std::vector<std::uint8_t>{8, 7, 0, 0, 0}));
    EXPECT_EQ(files.position(1), 7);
}

// Reads hop through a file larger than any read-ahead window, forwards, backwards and across
// window edges, and always see the bytes that are there.
TEST_F(FileTableTest, ScatteredReadsOfALargeFileSeeItsBytes) {
    const auto bytes = countingBytes(300'000);
    files.open(1, dir.write("large.bin", bytes));
    std::vector<std::int64_t> positions;
    for (std::int64_t at = 1; at < 300'000; at += 4093) {
        positions.push_back(at);
    }
    positions.insert(positions.end(), {65'535, 65'536, 65'537, 256, 255, 257, 299'998, 3, 131'071});
    for (const std::int64_t position : positions) {
        std::array<std::uint8_t, 3> three{};
        files.getBytes(1, position, three);
        for (std::size_t i = 0; i < three.size(); ++i) {
            const auto offset = static_cast<std::size_t>(position - 1) + i;
            EXPECT_EQ(three[i], offset < bytes.size() ? bytes[offset] : 0) << "at " << offset;
        }
    }
    ByteBuffer whole;
    whole.redim(0, 299'999);
    files.getBuffer(1, 1, whole);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), whole.stored().begin()));
}

// Small reads one after another, as through a growing read-ahead window, see every byte.
TEST_F(FileTableTest, SequentialSmallReadsThroughALargeFile) {
    const auto bytes = countingBytes(12 * 20'000);
    files.open(1, dir.write("index.bin", bytes));
    std::size_t offset = 0;
    for (;;) {
        std::array<std::uint8_t, 4> four{};
        files.getBytes(1, files.position(1), four);
        if (files.endOfFile(1)) {
            break;
        }
        ASSERT_TRUE(std::equal(four.begin(), four.end(),
                               bytes.begin() + static_cast<std::ptrdiff_t>(offset)))
            << "at " << offset;
        offset += 4;
    }
    EXPECT_EQ(offset, bytes.size());
}

TEST_F(FileTableTest, DestroyingTheTableClosesEveryFile) {
    if (!testing::processFiguresKnown()) {
        GTEST_SKIP() << "the system does not list open descriptors";
    }
    const std::string path = dir.write("a.bin", countingBytes(8));
    const std::size_t before = testing::openDescriptorCount();
    {
        FileTable table;
        table.open(1, path);
        table.open(2, path);
        table.open(7, path);
        EXPECT_EQ(table.openCount(), 3u);
        EXPECT_EQ(testing::openDescriptorCount(), before + 3);
    }
    EXPECT_EQ(testing::openDescriptorCount(), before);
}

TEST_F(FileTableTest, NumbersOutsideTheRangeOrAlreadyOpenAreCallerFaults) {
    const std::string path = dir.write("a.bin", countingBytes(8));
    EXPECT_THROW(files.open(0, path), std::invalid_argument);
    EXPECT_THROW(files.open(-1, path), std::invalid_argument);
    files.open(1, path);
    EXPECT_THROW(files.open(1, path), std::invalid_argument);
    std::uint8_t byte = 0;
    EXPECT_THROW(files.getByte(2, 1, byte), std::invalid_argument);
    EXPECT_EQ(files.openCount(), 1u);
}

}  // namespace
}  // namespace quorrel
