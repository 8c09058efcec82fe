#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "runtime/system/ConsoleStreamWindows.h"

namespace quorrel {
namespace {

TEST(Utf16BufferTest, HandsOnWholeCharactersAsUtf16EvenWhenAWriteSplitsOne) {
    std::vector<std::wstring> written;
    Utf16Buffer buffer([&](std::wstring_view text) {
        written.emplace_back(text);
        return true;
    });
    std::ostream out(&buffer);
    // "Façade Carving": the two bytes of ç arrive in two writes, with a flush between them.
    out << "[x] Fa\xC3" << std::flush;
    out << "\xA7"
           "ade Carving\n"
        << std::flush;
    ASSERT_TRUE(out.good());
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0], L"[x] Fa");
    EXPECT_EQ(written[1], L"\u00E7ade Carving\n");
}

TEST(Utf16BufferTest, AFailedWriteFailsTheStream) {
    Utf16Buffer buffer([](std::wstring_view) { return false; });
    std::ostream out(&buffer);
    out << "Dowsing" << std::flush;
    EXPECT_TRUE(out.bad());
}

}  // namespace
}  // namespace quorrel
