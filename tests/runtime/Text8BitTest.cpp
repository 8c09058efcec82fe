#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "NumberedCase.h"
#include "runtime/Failure.h"
#include "runtime/Text8Bit.h"

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
        try {
            textTo8Bit(c.text);
            ADD_FAILURE() << c.text << " was encoded";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.kind(), FailureKind::BadInput);
            EXPECT_NE(std::string(failure.what()).find(c.words), std::string::npos)
                << failure.what();
        }
    }
}

}  // namespace
}  // namespace quorrel
