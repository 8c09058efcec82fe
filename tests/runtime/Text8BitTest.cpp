#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "ExpectFailure.h"
#include "NumberedCase.h"
#include "runtime/base/Failure.h"
#include "runtime/text/Text8Bit.h"

namespace quorrel {
namespace {

struct Decoding {
    std::vector<std::uint8_t> bytes;
    std::string text;  // UTF-8
};

void PrintTo(const Decoding& decoding, std::ostream* out) {
    *out << decoding.bytes.size() << " bytes";
}

class Text8BitTest : public ::testing::TestWithParam<Decoding> {};

TEST_P(Text8BitTest, DecodesWindows1252) {
    EXPECT_EQ(textFrom8Bit(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Text8BitTest,
    ::testing::Values(
        Decoding{{}, ""}, Decoding{{'D', 'o', 'w', 's', 'i', 'n', 'g'}, "Dowsing"},
        Decoding{{0x20, 0x7E, 0x7F, 0x01, 0x1F}, "\x20\x7E\x7F\x01\x1F"},
        // A zero byte is a zero character; cutting the text there is the list's business.
        Decoding{{'a', 0x00, 'b'}, std::string("a\0b", 3)}, Decoding{{0x00}, std::string(1, '\0')},
        // The upper half from 0xA0 is Latin-1.
        Decoding{{0xA0, 0xA9, 0xC4, 0xDF, 0xE9, 0xFF}, "\u00A0\u00A9\u00C4\u00DF\u00E9\u00FF"},
        // 0x80..0x9F: the characters Windows-1252 puts there.
        Decoding{{0x80, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8E},
                 "\u20AC\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152"
                 "\u017D"},
        Decoding{
            {0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0x9B, 0x9C, 0x9E, 0x9F},
            "\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u017E"
            "\u0178"},
        // The five bytes the code page leaves unassigned become the control characters of the
        // same value.
        Decoding{{0x81, 0x8D, 0x8F, 0x90, 0x9D}, "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        Decoding{{'S', 0xE9, 'a', 'n', 'c', 'e', ' ', 0x80}, "S\u00E9ance \u20AC"}),
    testing::NumberedCase());

// Encoding is the exact inverse of decoding, the five unassigned bytes included, so a name of any
// bytes written back from its text is the same name; under Wine this checks the system's decoder.
TEST(TextTo8Bit, GivesBackEveryByteThatDecodingTookIn) {
    std::vector<std::uint8_t> everyByte;
    for (int byte = 0; byte < 256; ++byte) {
        everyByte.push_back(static_cast<std::uint8_t>(byte));
    }
    const std::string back = textTo8Bit(textFrom8Bit(everyByte));
    EXPECT_EQ(std::vector<std::uint8_t>(back.begin(), back.end()), everyByte);
}

TEST(TextTo8Bit, RefusesWhatWindows1252CannotHoldNamingIt) {
    const struct {
        std::string text;
        const char* words;
    } cases[] = {
        {"Ki \u4E2D", "U+4E2D, which Windows-1252 cannot hold"},
        {"\u0080", "U+0080"},
        {"\U0001F600", "U+1F600"},
        {"bad \xC3", "not valid UTF-8"},
        {"\xC0\xAF", "not valid UTF-8"},
        {"\xED\xA0\x80", "not valid UTF-8"},
    };
    for (const auto& c : cases) {
        EXPECT_FAILURE(textTo8Bit(c.text), FailureKind::BadInput, testing::HasSubstr(c.words));
    }
}

struct InCodePage {
    unsigned codePage;
    std::vector<std::uint8_t> bytes;
    std::string text;  // UTF-8
};

void PrintTo(const InCodePage& c, std::ostream* out) {
    *out << "Windows-" << c.codePage << ", " << c.bytes.size() << " bytes";
}

class OtherCodePages : public ::testing::TestWithParam<InCodePage> {};

// Both ways, since each direction is the other's exact inverse here.
TEST_P(OtherCodePages, ConvertNamesBothWays) {
    const CodePage codePage = *CodePage::known(GetParam().codePage);
    EXPECT_EQ(textFrom8Bit(GetParam().bytes, codePage), GetParam().text);
    const std::string back = textTo8Bit(GetParam().text, codePage);
    EXPECT_EQ(std::vector<std::uint8_t>(back.begin(), back.end()), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Names, OtherCodePages,
    ::testing::Values(
        // Byte 0x98 is unassigned in Windows-1251: the control character of the same value.
        InCodePage{1251,
                   {0xC7, 0xE5, 0xEB, 0xFC, 0xE5, 0xE2, 0xE0, 0xF0, 0xE5, 0xED, 0xE8, 0xE5, 0x98},
                   "\u0417\u0435\u043B\u044C\u0435\u0432\u0430\u0440\u0435\u043D\u0438\u0435"
                   "\u0098"},
        InCodePage{1253,
                   {0xC1, 0xEB, 0xF7, 0xE7, 0xEC, 0xE5, 0xDF, 0xE1},
                   "\u0391\u03BB\u03C7\u03B7\u03BC\u03B5\u03AF\u03B1"},
        InCodePage{874, {0xE0, 0xC5, 0xE8, 0xB9}, "\u0E40\u0E25\u0E48\u0E19"},
        // A combining mark stays a character of its own, as Windows leaves it.
        InCodePage{1258, {'T', 'i', 0xEA, 0xEC, 'n', 'g'}, "Ti\u00EA\u0301ng"},
        // Trail bytes in the ASCII range ('B', '\'), half-width katakana as single bytes, and
        // 0x80, which Shift JIS leaves unassigned.
        InCodePage{
            932,
            {0x98, 0x42, 0x8B, 0xE0, 0x8F, 0x70, ' ', 0xB6, 0xC0, 0xC5, ' ', 0x95, 0x5C, 0x80},
            "\u932C\u91D1\u8853 \uFF76\uFF80\uFF85 \u8868\u0080"},
        InCodePage{936, {0xC1, 0xB6, 0xBD, 0xF0, 0xCA, 0xF5}, "\u70BC\u91D1\u672F"},
        InCodePage{949, {0xBF, 0xAC, 0xB1, 0xDD, 0xBC, 0xFA}, "\uC5F0\uAE08\uC220"},
        InCodePage{950, {0xC1, 0xE5, 0xAA, 0xF7, 0xB3, 0x4E}, "\u934A\u91D1\u8853"}),
    testing::NumberedCase());

// A lead byte takes the byte after it whatever it is, so what is no character never shifts the
// characters after it; with nothing after it, it is no character either.
TEST(TextFrom8Bit, GivesTheReplacementCharacterForWhatIsNoCharacter) {
    const CodePage shiftJis = *CodePage::known(932);
    EXPECT_EQ(textFrom8Bit(std::vector<std::uint8_t>{0x81, ' ', 'B'}, shiftJis), "\uFFFDB");
    EXPECT_EQ(textFrom8Bit(std::vector<std::uint8_t>{'A', 0x81}, shiftJis), "A\uFFFD");
}

class EveryCodePage : public ::testing::TestWithParam<unsigned> {};

// Whatever a name's bytes read as can be written back as bytes that read the same; in a
// single-byte code page those are the same bytes. Under Wine this checks the system's converter.
TEST_P(EveryCodePage, WritesBackEveryCharacterItReads) {
    const CodePage codePage = *CodePage::known(GetParam());
    std::vector<std::vector<std::uint8_t>> sequences;
    for (unsigned first = 1; first < 256; ++first) {
        const auto byte = static_cast<std::uint8_t>(first);
        for (unsigned second = codePage.isLeadByte(byte) ? 1 : 256; second < 256; ++second) {
            sequences.push_back({byte, static_cast<std::uint8_t>(second)});
        }
        if (!codePage.isLeadByte(byte)) {
            sequences.push_back({byte});
        }
    }
    for (const auto& sequence : sequences) {
        const std::string text = textFrom8Bit(sequence, codePage);
        if (text == "\uFFFD") {
            continue;
        }
        const std::string back = textTo8Bit(text, codePage);
        const std::vector<std::uint8_t> backBytes(back.begin(), back.end());
        EXPECT_EQ(textFrom8Bit(backBytes, codePage), text);
        if (!codePage.isDoubleByte()) {
            EXPECT_EQ(backBytes, sequence);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Known, EveryCodePage, ::testing::ValuesIn(CodePage::kKnownNumbers));

TEST(TextTo8Bit, RefusesWhatTheCodePageCannotHoldNamingBoth) {
    const struct {
        unsigned codePage;
        std::string text;
        const char* words;
    } cases[] = {
        {1251, "Caf\u00E9", "U+00E9, which Windows-1251 cannot hold"},
        // Look-alikes are refused: U+00A5 is no '\', nor U+2212 a '-'.
        {932, "\u00A5", "U+00A5, which Windows-932 cannot hold"},
        {932, "a\u2212b", "U+2212"},
        {932, "x\U000E0001", "U+E0001"},
        {949, "\uFFFD", "U+FFFD, which Windows-949 cannot hold"},
    };
    for (const auto& c : cases) {
        EXPECT_FAILURE(textTo8Bit(c.text, *CodePage::known(c.codePage)), FailureKind::BadInput,
                       testing::HasSubstr(c.words));
    }
}

}  // namespace
}  // namespace quorrel
