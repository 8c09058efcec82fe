// Names as quorrel-pack compares and makes them: Windows names, and the hidden names beside a
// target, which must fit however long the target's name is.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "NumberedCase.h"
#include "OneVersionEach.h"
#include "TempDir.h"
#include "runtime/files/WindowsNames.h"
#include "runtime/replace/FileReplacement.h"
#include "runtime/replace/SideNames.h"

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
                                           NamePair{"\U00010428.mul", "\U00010400.mul", false},
                                           NamePair{"skills.mul", "skills.mu1", false},
                                           NamePair{"stra\u00dfe", "STRASSE", false},
                                           NamePair{"a\xff", "A\xff", true},
                                           NamePair{"a\xff", "a\xfe", !kNamesAreBytes}));

struct SideCase {
    const char* name;
    bool windowsName;
    std::optional<SideKind> ofSkillsMul;  // what it is to the target "skills.mul"
    bool refusedAsTarget;                 // it has the shape of some target's hidden name
};

void PrintTo(const SideCase& side, std::ostream* out) {
    *out << side.name << (side.windowsName ? " (Windows)" : "");
}

class SideNameRules : public ::testing::TestWithParam<SideCase> {};

// Only the exact shapes are hidden names, so a run never takes another target's files, nor a
// target, for its own; and a target of such a shape is refused.
TEST_P(SideNameRules, AreExactAndNoTargetCanBeOne) {
    const SideCase& side = GetParam();
    const auto of = SideNames("dir/skills.mul").of(side.name);
    EXPECT_EQ(of ? std::optional(of->kind) : std::nullopt, side.ofSkillsMul);
    EXPECT_EQ(sideNameOf(side.name, side.windowsName).has_value(), side.refusedAsTarget);
}

constexpr auto kNone = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Names, SideNameRules,
    ::testing::Values(
        SideCase{".skills.mul.quorrel-lock", false, SideKind::Lock, true},
        SideCase{".skills.mul.quorrel-new-0123456789abcdef", false, SideKind::Temporary, true},
        SideCase{".skills.mul.quorrel-old-0123456789abcdef-2", false, SideKind::Backup, true},
        // The hidden files of the targets "skills.mul.quorrel-new-x" and "skills.mul.quorrel-lock".
        SideCase{".skills.mul.quorrel-new-x.quorrel-lock", false, kNone, true},
        SideCase{".skills.mul.quorrel-new-0123456789abcdef.quorrel-new-0123456789abcdef", false,
                 kNone, true},
        SideCase{".skills.mul.quorrel-lock.quorrel-old-0123456789abcdef-1", false, kNone, true},
        SideCase{".skills.mul.quorrel-old-evil", false, kNone, false},
        SideCase{".skills.mul.quorrel-old-0123456789abcdef-0", false, kNone, false},
        SideCase{".skills.mul.quorrel-new-0123456789abcde", false, kNone, false},
        SideCase{".skills.mul.quorrel-new-0123456789ABCDEF", false, kNone, false},
        SideCase{"skills.mul.quorrel-lock", false, kNone, false},
        SideCase{"..quorrel-lock", false, kNone, false},
        SideCase{".quorrel-lock", false, kNone, false},
        SideCase{".SKILLS.MUL.QUORREL-LOCK", true, kNone, true},
        SideCase{".skills.mul.quorrel-new-0123456789ABCDEF. .", true, kNone, true}),
    testing::NumberedCase());

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
         {names.temporary(randomTag()), names.backup(randomTag(), 2), names.lock()}) {
        EXPECT_LE(side.size(), 255u) << side;
    }
    EXPECT_NE(SideNames(other).lock(), names.lock());
    if (length > 220) {
        // Shortened at a character's start: the stem is still UTF-8.
        const std::string kept = names.lock().substr(1, names.lock().find('~') - 1);
        EXPECT_EQ(kept.size() % 3, 0u) << kept.size();
        // A target named as the shortened stem is is shortened too, and shares no hidden name.
        const std::string stem = names.lock().substr(1, names.lock().rfind(".quorrel-lock") - 1);
        EXPECT_NE(SideNames(stem).lock(), names.lock());
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongNames, ::testing::Values(10, 220, 225, 226, 255));

TEST(LongNames, AreWrittenUpTo255Bytes) {
    const testing::TempDir dir;
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    const std::string path = (dir.path() / nameOfLength(255)).string();
    const std::array<FileContents, 1> files = {FileContents{{path, path}, bytes}};
    replaceFiles(FileSystem::native(), files);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / nameOfLength(255)));
}

}  // namespace
}  // namespace quorrel
