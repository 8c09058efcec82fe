#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "Files.h"
#include "ProcessResources.h"
#include "TableBytes.h"
#include "TempDir.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadAction.h"
#include "skills/SkillFileLayout.h"
#include "skills/StandaloneHost.h"

namespace quorrel::testing {
namespace {

constexpr std::int32_t kLongest = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMiB = 1024 * 1024;
// What a load may add to the peak beside what it shows: the index read-ahead, the list's own
// bookkeeping and the allocator's slack.
constexpr std::int64_t kOverhead = 16 * kMiB;

// `times` copies of `pattern`, then `tail`.
std::vector<std::uint8_t> repeated(const std::vector<std::uint8_t>& pattern, std::size_t times,
                                   const std::vector<std::uint8_t>& tail) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(pattern.size() * times + tail.size());
    for (std::size_t copy = 0; copy < times; ++copy) {
        bytes.insert(bytes.end(), pattern.begin(), pattern.end());
    }
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

std::vector<std::uint8_t> indexOf(const std::vector<IndexRecord>& records) {
    return indexBytes(records);
}

struct Loaded {
    std::vector<SkillRow> items;
    std::optional<int> current;
    std::int64_t peakGrowth = 0;
};

// Loads the table, measuring how far the process's peak memory rises while it does.
Loaded loadMeasured(const std::string& dataPath, const std::string& indexPath) {
    StandaloneHost host(dataPath, indexPath);
    FileTable files;
    const PeakMemoryGrowth growth;
    loadSkills(host, files);
    Loaded loaded{host.list().items(), host.list().currentIndex(), growth.bytes()};
    EXPECT_EQ(files.openCount(), 0u);
    return loaded;
}

// The result of the load is checked everywhere; its memory only where the figures mean something.
void expectPeakWithin(std::int64_t peakGrowth, std::int64_t bound) {
    if (underAddressSanitizer() || !processFiguresKnown()) {
        ::testing::Test::RecordProperty("peak_growth",
                                        "not measured (AddressSanitizer or no /proc)");
        return;
    }
    ::testing::Test::RecordProperty("peak_growth_bytes", std::to_string(peakGrowth));
    EXPECT_LE(peakGrowth, bound) << "the load raised the peak by " << peakGrowth / kMiB << " MiB";
}

// A length of 2147483647 on a small data file gives the name that the file holds, in the memory
// the file needs, not two gigabytes.
TEST(BoundedResources, LongestLengthOnASmallFile) {
    const TempDir dir;
    const std::vector<std::uint8_t> data = {1, 'Q', 'u', 'i', 'l', 'l', 0, 'x'};
    const std::string dataPath = dir.write("skills.mul", data);
    const std::string indexPath =
        dir.write("skills.idx", indexBytes(std::vector<IndexRecord>{{0, kLongest, 0}}));

    const Loaded loaded = loadMeasured(dataPath, indexPath);
    EXPECT_EQ(loaded.items, (std::vector<SkillRow>{{0, "Quill", true, 1}}));
    EXPECT_EQ(loaded.current, 0);
    expectPeakWithin(loaded.peakGrowth, kOverhead);
}

// Millions of empty slots are read through in a window of the index file, not all at once, and the
// one used record after them still loads.
TEST(BoundedResources, MillionsOfEmptySlots) {
    constexpr std::size_t kSlotPairs = 1'000'000;
    const TempDir dir;
    const std::string dataPath = dir.write("skills.mul", bytesOf(std::string_view("\0Zo\0", 4)));
    const std::string indexPath = dir.write(
        "skills.idx", repeated(indexOf({{-1, 5, 0}, {7, 0, 0}}), kSlotPairs, indexOf({{0, 4, 0}})));

    const Loaded loaded = loadMeasured(dataPath, indexPath);
    EXPECT_EQ(loaded.items, (std::vector<SkillRow>{{2 * kSlotPairs, "Zo", false, 0}}));
    EXPECT_EQ(loaded.current, 0);
    expectPeakWithin(loaded.peakGrowth, kOverhead);
}

// A data file of tens of megabytes with no zero byte, read as one record of the longest length:
// the whole file after the flag is the name. The load holds it a few times over at most (the bytes
// read, their text and the list's copy), never the two gigabytes the length asks for. A gigabyte
// is measured by scripts/bench.
TEST(BoundedResources, OneHugeRecordOfNonZeroBytes) {
    constexpr std::size_t kDataSize = 32 * kMiB;
    const TempDir dir;
    const std::string pattern = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    const std::string dataPath =
        dir.write("skills.mul", repeated(bytesOf(pattern), kDataSize / pattern.size(), {}));
    const std::string indexPath = dir.write("skills.idx", indexOf({{0, kLongest, 0}}));

    const Loaded loaded = loadMeasured(dataPath, indexPath);
    ASSERT_EQ(loaded.items.size(), 1u);
    const std::string& name = loaded.items.front().name;
    EXPECT_EQ(name.size(), kDataSize - 1);
    EXPECT_EQ(name.substr(0, 4), "BCDE");
    EXPECT_TRUE(loaded.items.front().checked);
    const auto shown = static_cast<std::int64_t>(name.size());
    expectPeakWithin(loaded.peakGrowth, 4 * shown + kOverhead);
}

// A short name at the start of a large data file of zero bytes, read with the longest length: the
// load holds the name up to its first zero byte, not the whole file after it.
TEST(BoundedResources, ShortNameOverAHugeFileOfZeros) {
    constexpr std::size_t kDataSize = 64 * kMiB;
    const TempDir dir;
    std::vector<std::uint8_t> data(kDataSize, 0);
    const std::vector<std::uint8_t> start = {1, 'Z', 'o'};
    std::copy(start.begin(), start.end(), data.begin());
    const std::string dataPath = dir.write("skills.mul", data);
    data = {};
    const std::string indexPath = dir.write("skills.idx", indexOf({{0, kLongest, 0}}));

    const Loaded loaded = loadMeasured(dataPath, indexPath);
    EXPECT_EQ(loaded.items, (std::vector<SkillRow>{{0, "Zo", true, 1}}));
    expectPeakWithin(loaded.peakGrowth, kOverhead);
}

}  // namespace
}  // namespace quorrel::testing
