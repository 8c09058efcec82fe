// Names as the file writer compares and makes them: Windows names, and the hidden names beside a
// target, which must fit however long the target's name is.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "OneVersionEach.h"
#include "TempDir.h"
#include "runtime/FileQueries.h"
#include "runtime/FileReplacement.h"
#include "runtime/NativeFileWriter.h"
#include "runtime/SideFiles.h"

namespace quorrel {
namespace {

struct NamePair {
    const char* first;
    const char* second;
    bool same;
};

// The pair with every byte outside printable ASCII as \xHH, so test names stay plain text.
void PrintTo(const NamePair& pair, std::ostream* out) {
    for (const std::string_view name : {pair.first, pair.second}) {
        for (const char character : name) {
            const auto byte = static_cast<unsigned char>(character);
            if (byte >= 0x20 && byte < 0x7F) {
                *out << character;
            } else {
                *out << "\\x" << std::hex << static_cast<int>(byte) << std::dec;
            }
        }
        *out << " ";
    }
}

// On Windows a name is UTF-16, where bytes that are not UTF-8 all become U+FFFD; elsewhere a name
// is its bytes.
#ifdef _WIN32
constexpr bool kNamesAreBytes = false;
#else
constexpr bool kNamesAreBytes = true;
#endif

class WindowsNames : public ::testing::TestWithParam<NamePair> {};

TEST_P(WindowsNames, AreOneWhenWindowsTakesThemForOne) {
    EXPECT_EQ(sameWindowsName(GetParam().first, GetParam().second), GetParam().same)
        << GetParam().first << " / " << GetParam().second;
}

INSTANTIATE_TEST_SUITE_P(Pairs, WindowsNames,
                         ::testing::Values(NamePair{"skills.mul", "SKILLS.MUL", true},
                                           NamePair{"Cr\u00e8me.mul", "CR\u00c8ME.MUL", true},
                                           NamePair{"\u0436.idx", "\u0416.IDX", true},
                                           NamePair{"skills.mul. .", "skills.mul", true},
                                           NamePair{"skills.mul", "skills.mu1", false},
                                           NamePair{"stra\u00dfe", "STRASSE", false},
                                           NamePair{"a\xff", "A\xff", true},
                                           NamePair{"a\xff", "a\xfe", !kNamesAreBytes}));

std::string nameOfLength(std::size_t length, const std::string& piece = "s") {
    std::string name;
    while (name.size() + piece.size() <= length - 4) {
        name += piece;
    }
    return name + std::string(length - 4 - name.size(), 'x') + ".mul";
}

class LongNames : public ::testing::TestWithParam<std::size_t> {};

// Every hidden name stays within the 255 bytes a file system allows, and long names that differ
// only past the cut still get names of their own.
TEST_P(LongNames, GetSideNamesThatFitAndDiffer) {
    const std::size_t length = GetParam();
    const std::string name = nameOfLength(length, "\u20ac");
    std::string other = name;
    other[other.size() - 5] = 'y';
    const SideNames names(name);
    for (const std::string& side :
         {names.temporary(randomTag()), names.backup(randomTag() + "-2"), names.lock()}) {
        EXPECT_LE(side.size(), 255u) << side;
    }
    EXPECT_NE(SideNames(other).lock(), names.lock());
    if (length > 220) {
        // Shortened at a character's start: the stem is still UTF-8.
        const std::string stem = names.lock().substr(1, names.lock().find('~') - 1);
        EXPECT_EQ(stem.size() % 3, 0u) << stem.size();
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongNames, ::testing::Values(10, 220, 225, 226, 255));

TEST(LongNames, AreWrittenUpTo255Bytes) {
    const testing::TempDir dir;
    NativeFileWriter writer;
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    const std::array<FileContents, 1> files = {
        FileContents{writer.locate((dir.path() / nameOfLength(255)).string()), bytes}};
    replaceFiles(writer, files, ExistingFiles::Refuse);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / nameOfLength(255)));
}

}  // namespace
}  // namespace quorrel
