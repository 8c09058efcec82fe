// The order a table is replaced in, and its .bak pair: after every rename the pair on disk reads as
// the old table or the new one, including old tables whose records reach past their data file or
// fail.
#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "NumberedCase.h"
#include "SkillTables.h"
#include "TableBytes.h"
#include "skills/BakSwap.h"
#include "skills/StandaloneHost.h"
#include "skills/TableSwap.h"

namespace quorrel::testing {
namespace {

// What a load shows: the items, and the failure that ended it.
struct Shown {
    std::vector<SkillRow> items;
    std::string failure;

    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& shown, std::ostream* out) {
    for (const SkillRow& item : shown.items) {
        *out << (item.checked ? "[x] " : "[ ] ") << item.name << "; ";
    }
    *out << shown.failure;
}

std::vector<std::uint8_t> joined(const FilePieces& pieces) {
    std::vector<std::uint8_t> bytes;
    for (const FilePiece& piece : pieces) {
        for (std::uint64_t time = 0; time < piece.times; ++time) {
            bytes.insert(bytes.end(), piece.bytes.begin(), piece.bytes.end());
        }
    }
    return bytes;
}

// Loads the pair as it stands: a file missing when it has no bytes.
Shown shownBy(SkillTables& tables, const std::optional<std::vector<std::uint8_t>>& data,
              const std::optional<std::vector<std::uint8_t>>& index) {
    const std::string dataPath = tables.pathOf("skills.mul");
    const std::string indexPath = tables.pathOf("skills.idx");
    std::filesystem::remove(dataPath);
    std::filesystem::remove(indexPath);
    if (data) {
        tables.writeFile("skills.mul", *data);
    }
    if (index) {
        tables.writeFile("skills.idx", *index);
    }
    StandaloneHost host(dataPath, indexPath);
    const auto failure = tables.load(host);
    return {host.list().items(), failure ? failure->description() : ""};
}

struct OldPair {
    const char* what;
    std::optional<SkillFiles> files;  // both files, or only one of them below
    bool dataOnly = false;
    bool indexOnly = false;
    bool padded = true;  // the swap can keep every step readable

    OldFile data() const { return files && !indexOnly ? OldFile{true, files->data} : OldFile{}; }
    OldFile index() const { return files && !dataOnly ? OldFile{true, files->index} : OldFile{}; }
};

void PrintTo(const OldPair& old, std::ostream* out) {
    *out << old.what;
}

OldPair oldPair(const char* what, std::vector<std::uint8_t> data,
                const std::vector<IndexRecord>& records, bool padded = true) {
    return {what, SkillFiles{indexBytes(records), std::move(data)}, false, false, padded};
}

// Puts the versions in place one after another over the old pair, as the run's renames do: after
// each the pair reads as before or, once switched, as `after`, whose bytes it ends with.
void expectEveryStepReadsAsBeforeOrAfter(const OldPair& old, std::span<const FileVersion> versions,
                                         const SkillFiles& after) {
    std::optional<std::vector<std::uint8_t>> data = old.data().bytes;
    std::optional<std::vector<std::uint8_t>> index = old.index().bytes;
    SkillTables tables;
    const Shown before = shownBy(tables, data, index);
    const Shown shownAfter = shownBy(tables, after.data, after.index);
    bool switched = false;
    for (const FileVersion& version : versions) {
        (version.target == TableSwap::kData ? data : index) = joined(version.pieces);
        const Shown now = shownBy(tables, data, index);
        switched = switched || now == shownAfter;
        if (old.padded || !old.files || old.dataOnly || old.indexOnly) {
            EXPECT_EQ(now, switched ? shownAfter : before);
        }
    }
    EXPECT_EQ(data, after.data);
    EXPECT_EQ(index, after.index);
}

class SwapSteps : public ::testing::TestWithParam<OldPair> {};

TEST_P(SwapSteps, EveryRenameLeavesThePairReadingAsTheOldTableOrTheNewOne) {
    const OldPair old = GetParam();
    // With empty slots between the skills and after them, which the index holds as counts.
    SkillTableBuilder built(CodePage::windows1252());
    built.add({0, "Quill", true, 1});
    built.add({1, "Rope Splicing", false, 0});
    built.add({3, "Lantern Trimming", true, 7});
    built.add({4, "Weaving", true, 1});
    built.padTo(7);
    const LaidOutTable& fresh = built.files();
    const TableSwap swap(fresh, old.data(), old.index());
    // Only the padded order passes through more than the two final files.
    EXPECT_EQ(swap.versions().size() > 2, old.padded);
    expectEveryStepReadsAsBeforeOrAfter(old, swap.versions(),
                                        SkillFiles{fresh.index.bytes(), fresh.data});
}

// The .bak pair goes from the earlier backups (the old pair of these cases) to a replaced table
// that is no table the builder lays out: names that run past its data file's end, a negative
// offset, an empty slot with a length, and bytes after its last whole index record. Every version
// but the last of each file is the swap's own; the last is the replaced file's bytes.
TEST_P(SwapSteps, EveryRenameLeavesTheBakPairReadingAsTheEarlierBackupsOrTheReplacedTable) {
    const OldPair earlier = GetParam();
    SkillFiles replaced{indexBytes(std::vector<IndexRecord>{
                            {0, 4, 0}, {5, 0, 0}, {5, 40, 9}, {-1, 7, 0}, {-7, 3, 0}}),
                        bytesOf(std::string_view("\001Awl\000\001Unended", 12))};
    replaced.index.push_back(0x2A);
    const BakSwap swap({earlier.data(), earlier.index()},
                       {{true, replaced.data}, {true, replaced.index}});
    EXPECT_EQ(swap.versions().size() > 2, earlier.padded);
    expectEveryStepReadsAsBeforeOrAfter(earlier, swap.versions(), replaced);
}

const std::vector<std::uint8_t> kClientData = gameClientLayout(kThreeSkills).data;

std::vector<std::uint8_t> longerEndingInAName() {
    auto data = gameClientLayout(std::vector<SkillRecord>(40, {"Herding Of Many Goats", 1})).data;
    const std::string tail = "\x01Tailing";
    data.insert(data.end(), tail.begin(), tail.end());
    return data;
}

INSTANTIATE_TEST_SUITE_P(
    OldTables, SwapSteps,
    ::testing::Values(
        // The game clients' own layout, shorter than the new one, and one longer that ends in a
        // name without its zero.
        oldPair("client layout", kClientData, {kDowsing, {-1, 0, 0}, kGilding}),
        oldPair("longer, unended", longerEndingInAName(),
                {{0, 23, 0}, {23 * 39, 23, 0}, {23 * 40, 9, 0}}),
        // Names that run past the data file's end, an empty slot with a length, and a record
        // that fails: each must read the same.
        oldPair("odd records", bytesOf("\x01Unending"),
                {{0, 50, 0}, {4, 9, 0}, {8, 1, 0}, {-1, 7, 0}, {-5, 3, 0}, {0, 1, 0}}),
        // A record whose flag lies past the data file's end fails the old table's load there,
        // which no padded data file can repeat.
        oldPair("a record past the end", bytesOf("\x01Unending"), {{0, 50, 0}, {30, 3, 0}}, false),
        // An old record far out would need more padding than is worth writing.
        oldPair("far record", kClientData, {kDowsing, {kMax - 4, 9, 0}}, false),
        OldPair{"data only", SkillFiles{indexBytes(std::vector{kDowsing}), kClientData}, true,
                false, false},
        OldPair{"index only", SkillFiles{indexBytes(std::vector{kDowsing}), kClientData}, false,
                true, false},
        OldPair{"none", std::nullopt, false, false, false}),
    NumberedCase());

}  // namespace
}  // namespace quorrel::testing
