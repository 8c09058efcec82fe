// What the readers get of UTF-16 that reads cut apart or that is broken; the spellings tools
// write whole are packed in PackCommandTest.
#include <gtest/gtest.h>

#include <cerrno>
#include <ios>
#include <iterator>
#include <sstream>
#include <string>
#include <system_error>

#include "ExpectFailure.h"
#include "Files.h"
#include "NumberedCase.h"
#include "cli/formats/ListInput.h"

namespace quorrel::cli {
namespace {

struct Decoding {
    const char* what;
    std::string input;
    std::string expected;  // UTF-8, or the failure's words
    bool fails = false;
};

void PrintTo(const Decoding& decoding, std::ostream* out) {
    *out << decoding.what;
}

class ListInputTest : public ::testing::TestWithParam<Decoding> {};

TEST_P(ListInputTest, GivesTheReadersUtf8) {
    std::istringstream in(GetParam().input);
    ListInput list(in);
    if (GetParam().fails) {
        EXPECT_FAILURE(std::string(std::istreambuf_iterator<char>(list.stream()), {}),
                       FailureKind::BadInput, testing::HasSubstr(GetParam().expected));
        return;
    }
    const std::string read(std::istreambuf_iterator<char>(list.stream()), {});
    EXPECT_EQ(read, GetParam().expected);
}

// The first read takes 64 KiB after the mark: 32,767 units, then the high half of U+1F600.
const std::u16string kBeforeTheCut(32767, u'a');

INSTANTIATE_TEST_SUITE_P(
    Inputs, ListInputTest,
    ::testing::Values(
        Decoding{"a pair the reads cut apart, little-endian",
                 testing::utf16WithMark(kBeforeTheCut + u"\U0001F600b"),
                 std::string(32767, 'a') + "\U0001F600b"},
        Decoding{"a pair the reads cut apart, big-endian",
                 testing::utf16WithMark(kBeforeTheCut + u"\U0001F600b", true),
                 std::string(32767, 'a') + "\U0001F600b"},
        Decoding{"a high surrogate without its low one",
                 testing::utf16WithMark(u"\xD83D"
                                        u"b"),
                 "\uFFFDb"},
        Decoding{"the list ends in a high surrogate", testing::utf16WithMark(u"b\xD83D"),
                 "the list ends in half a UTF-16 character", true},
        Decoding{"a low surrogate alone", testing::utf16WithMark(u"a\xDE00"), "a\uFFFD"},
        Decoding{"an odd last byte", testing::utf16WithMark(u"a") + "b",
                 "the list ends in half a UTF-16 character", true},
        Decoding{"the start of a UTF-8 mark", "\xEF\xBBx", "\xEF\xBBx"},
        Decoding{"UTF-16 without a mark", std::string("a\0", 2), std::string("a\0", 2)}),
    testing::NumberedCase());

// A source whose reads fail part way, as a disk's or a network file system's may: what the standard
// library throws for it is said as the source being unreadable, with the system's reason.
class FailingHalfWay : public std::streambuf {
  protected:
    int_type underflow() override {
        if (served_) {
            throw std::ios_base::failure("read", std::error_code(EIO, std::generic_category()));
        }
        served_ = true;
        setg(text_, text_, text_ + 6);
        return traits_type::to_int_type(*gptr());
    }

  private:
    char text_[7] = "[x] A\n";
    bool served_ = false;
};

TEST(ListInputSource, AReadThatFailsHalfWayIsTheListUnreadable) {
    FailingHalfWay source;
    std::istream in(&source);
    ListInput list(in);
    try {
        const std::string read(std::istreambuf_iterator<char>(list.stream()), {});
        ADD_FAILURE() << "read " << read;
    } catch (const ListUnreadable& unreadable) {
        EXPECT_STREQ(unreadable.what(), "Input/output error");
    }
}

}  // namespace
}  // namespace quorrel::cli
