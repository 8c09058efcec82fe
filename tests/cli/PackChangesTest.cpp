// What quorrel-pack --dry-run says a pack would change of the table in place, and that it changes
// nothing itself.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "Files.h"
#include "NumberedCase.h"
#include "SkillTableFiles.h"
#include "TableBytes.h"

namespace quorrel::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// Four skills: checked, checked, flag 5, clear.
SkillFiles fourSkills() {
    const SkillRecord skills[] = {{"Dowsing", 1}, {"Tracking", 1}, {"Snooping", 5}, {"Fishing", 0}};
    return gameClientLayout(skills);
}

constexpr const char* kHeader = "record,name,checked,flag\r\n";
constexpr const char* kFourSkills =
    "0,Dowsing,true,1\r\n1,Tracking,true,1\r\n2,Snooping,true,5\r\n3,Fishing,false,0\r\n";

// The same two skills in another layout than the game clients': records out of the data file's
// order, a length without the terminating zero, an extra value.
SkillFiles inAnotherLayout() {
    const std::string data("\x00Quill\x00\x01Zither", 14);
    const IndexRecord records[] = {{7, 6, 0x1234}, {0, 6, 0}};
    return {indexBytes(records), {data.begin(), data.end()}};
}

struct ChangesCase {
    const char* what;
    std::optional<SkillFiles> inPlace;  // none: no table there
    std::string list;                   // in CSV, after the header
    ::testing::Matcher<const std::string&> said;
    std::vector<std::string> options = {};
};

void PrintTo(const ChangesCase& c, std::ostream* out) {
    *out << c.what;
}

class PackDryRun : public ::testing::TestWithParam<ChangesCase> {};

TEST_P(PackDryRun, SaysWhatWouldChangeByRecordAndWritesNothing) {
    const ChangesCase& c = GetParam();
    const TempDir dir;
    const TablePaths paths{(dir.path() / "skills.mul").string(),
                           (dir.path() / "skills.idx").string()};
    if (c.inPlace) {
        writeTable(dir, *c.inPlace);
    }
    const auto before = namesIn(dir.path());
    std::vector<std::string> arguments = {"--data",   paths.data, "--index", paths.index,
                                          "--format", "csv",      "--force", "--dry-run"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const CommandRun run = runPack(arguments, kHeader + c.list);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_THAT(run.out, c.said);
    EXPECT_EQ(namesIn(dir.path()), before);
    if (c.inPlace) {
        EXPECT_EQ(contentsOf(paths.index), textOf(c.inPlace->index));
    }
}

// What a stopped run left is said as quorrel-dump says it, and left as it is: only a real run,
// under the lock, tidies up.
TEST(PackDryRun, SaysWhatAStoppedRunLeftAndLeavesIt) {
    const TempDir dir;
    const auto paths = writeTable(dir, fourSkills());
    dir.write(".skills.mul.quorrel-old-0123456789abcdef-1", bytesOf("old data"));
    const auto before = namesIn(dir.path());
    const CommandRun run = runPack(
        {"--data", paths.data, "--index", paths.index, "--format", "csv", "--force", "--dry-run"},
        kHeader + std::string(kFourSkills));
    EXPECT_EQ(run.status, 0);
    EXPECT_THAT(run.err, StartsWith("quorrel-pack: a quorrel-pack run was stopped before it "));
    EXPECT_THAT(run.err, HasSubstr("; to put them back: "));
    EXPECT_EQ(run.out, "no skill would change, and both files would be written as they are\n");
    EXPECT_EQ(namesIn(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, PackDryRun,
    ::testing::Values(
        ChangesCase{"names and flags, escaped as text escapes them", fourSkills(),
                    "0,\"Tab\there\",false,0\r\n1,Tracking,true,1\r\n2,Snooping,true,1\r\n"
                    "3,Fishing,true,1\r\n",
                    "record 0: name \"Dowsing\" would become \"Tab\\there\", flag 1 would become "
                    "0 (check mark cleared)\n"
                    "record 2 \"Snooping\": flag 5 would become 1 (still checked)\n"
                    "record 3 \"Fishing\": flag 0 would become 1 (check mark set)\n"},
        ChangesCase{
            "a skill added at the end, an empty slot after it", fourSkills(),
            std::string(kFourSkills) + "4,Lumberjacking,true,1\r\n5,,,\r\n",
            "record 4: \"Lumberjacking\" would be added, flag 1\n"
            "the index would grow from 4 to 6 records (1 empty slot after the last skill)\n"},
        ChangesCase{"skills removed", fourSkills(),
                    "0,Dowsing,true,1\r\n1,,,\r\n2,Snooping,true,5\r\n",
                    "record 1: \"Tracking\" would be removed, leaving an empty slot\n"
                    "record 3: \"Fishing\" would be removed\n"
                    "the index would shrink from 4 to 3 records\n"},
        ChangesCase{"nothing", fourSkills(), kFourSkills,
                    "no skill would change, and both files would be written as they are\n"},
        ChangesCase{"no table in place", std::nullopt, kFourSkills,
                    "a new table: 4 skills in 4 records\n"},
        ChangesCase{"a table in another layout", inAnotherLayout(),
                    "0,Zither,true,1\r\n1,Quill,false,0\r\n",
                    "no skill would change, but the table is not in the game clients' layout, "
                    "and would be written in it: 2 index records would change, the first record "
                    "0 (offset 7 would become 0, length 6 would become 8, extra 4660 would become "
                    "0); the data file would change from 14 to 15 bytes\n"},
        ChangesCase{"a table in place that cannot be read whole", tableFailingAtRecord3(),
                    "0,Dowsing,false,0\r\n1,Cr\u00e8me Br\u00fbl\u00e9e \u20ac,false,0\r\n"
                    "2,Zither Tuning,true,255\r\n3,Quill,true,1\r\n",
                    ::testing::AllOf(
                        StartsWith("the table in place cannot be read whole ("),
                        HasSubstr("): only its first 3 records are compared\n"
                                  "record 0 \"Dowsing\": flag 1 would become 0 (check mark "
                                  "cleared)\nfrom record 3 on, 1 skill in 1 record would take the "
                                  "place of what could not be read\n"))},
        ChangesCase{"names in another code page",
                    gameClientLayout(std::vector<SkillRecord>{{"\xD0\xF3\xE4\xE0", 1}}),
                    "0,\u0420\u0443\u0434\u0430,false,0\r\n",
                    "record 0 \"\u0420\u0443\u0434\u0430\": flag 1 would become 0 (check mark "
                    "cleared)\n",
                    {"--codepage", "1251"}}),
    NumberedCase());

}  // namespace
}  // namespace quorrel::testing
