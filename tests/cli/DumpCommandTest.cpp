// quorrel-dump run in this process on skill tables the tests write themselves.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <vector>

#include "AllocationFailure.h"
#include "Files.h"
#include "ScopedVariable.h"
#include "SkillTableFiles.h"
#include "TableBytes.h"
#include "WriteFaults.h"
#include "runtime/replace/TargetLocks.h"
#include "skills/SkillFileLayout.h"

namespace quorrel::cli {
namespace {

using testing::bytesOf;
using testing::TablePaths;
using testing::TempDir;

std::vector<std::string> pathArguments(const TablePaths& paths) {
    return {"--data", paths.data, "--index", paths.index};
}

std::vector<std::string> withFormat(std::vector<std::string> arguments, const char* format) {
    arguments.insert(arguments.end(), {"--format", format});
    return arguments;
}

// Text has no flags: the one that is not 0 or 1 is said to be lost, and the status stays 0.
TEST(DumpCommand, PrintsTextByDefaultWithNamesInUtf8) {
    const TempDir dir;
    const auto result = testing::runDump(pathArguments(writeTable(dir, testing::mixedTable())));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, testing::kMixedTableText);
    EXPECT_EQ(result.err,
              "quorrel-dump: the text format keeps names and check marks only, and this table has "
              "1 flag other than 0 and 1 (the first, 255, at record 2), which would become 1; "
              "--format csv or --format json keeps the whole table\n");
}

TEST(DumpCommand, PrintsJsonWhenAsked) {
    const TempDir dir;
    const auto paths = writeTable(dir, testing::mixedTable());
    const auto result = testing::runDump(withFormat(pathArguments(paths), "json"));
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("\"name\": \"Cr\u00e8me Br\u00fbl\u00e9e \u20ac\",\n"
                              "      \"checked\": false,\n      \"flag\": 0"),
              std::string::npos)
        << result.out;
    EXPECT_TRUE(result.out.ends_with("\"error\": null\n}\n")) << result.out;
    EXPECT_EQ(result.err, "");
}

TEST(DumpCommand, AnEmptyTableIsASuccessWithNothingListed) {
    const TempDir dir;
    const auto paths = writeTable(dir, SkillFiles{});
    const auto text = testing::runDump(pathArguments(paths));
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.out, "");
    EXPECT_EQ(text.err, "");

    const auto json = testing::runDump(withFormat(pathArguments(paths), "json"));
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out, "{\n  \"skills\": [],\n  \"recordCount\": 0,\n  \"error\": null\n}\n");
}

TEST(DumpCommand, AFailedLoadPrintsTheItemsBeforeItAndTheReasonOnStandardError) {
    const TempDir dir;
    const auto paths = writeTable(dir, testing::tableFailingAtRecord3());
    const auto result = testing::runDump(pathArguments(paths));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, testing::kMixedTableText);
    EXPECT_TRUE(
        result.err.ends_with("\nquorrel-dump: offset 2147483647 is out of range (record 3 of \"" +
                             paths.index + "\")\n"))
        << result.err;
}

TEST(DumpCommand, AFailedLoadInJsonGivesTheKindAndTheItemsBeforeIt) {
    const TempDir dir;
    const auto paths = writeTable(dir, testing::tableFailingAtRecord3());
    const auto result = testing::runDump(withFormat(pathArguments(paths), "json"));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("\"name\": \"Zither Tuning\""), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"error\": {\n    \"kind\": \"overflow\",\n    \"message\": "
                              "\"offset 2147483647 is out of range (record 3 of "),
              std::string::npos)
        << result.out;
}

TEST(DumpCommand, AMissingDataFileIsRefusedNamingThePath) {
    const TempDir dir;
    const auto paths = writeTable(dir, testing::mixedTable());
    const std::string missing = (dir.path() / "missing.mul").string();
    const auto result =
        testing::runDump(withFormat({"--data", missing, "--index", paths.index}, "json"));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("\"skills\": [],"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"kind\": \"open-refused\""), std::string::npos) << result.out;
    EXPECT_NE(result.err.find(missing), std::string::npos) << result.err;
}

TEST(DumpCommand, DefaultsToTheGamesInstallPaths) {
    // Off Windows the default paths lead into the Wine prefix: an empty one stands in for a
    // machine without the game, whatever the developer's own prefix holds.
    const TempDir emptyPrefix;
    const testing::ScopedVariable prefix("WINEPREFIX", emptyPrefix.path().string());
    const auto result = testing::runDump({});
    // Nothing is installed there on a test machine; the refusal names the default index path.
    ASSERT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(kDefaultIndexPath), std::string::npos) << result.err;
}

struct UsageCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* errorWords;
};

// Names the case in CTest's listing instead of dumping its bytes.
void PrintTo(const UsageCase& usageCase, std::ostream* out) {
    *out << usageCase.name;
}

class DumpUsageError : public ::testing::TestWithParam<UsageCase> {};

TEST_P(DumpUsageError, ExitsWithStatus2AndExplainsOnStandardError) {
    const auto result = testing::runDump(GetParam().arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("quorrel-dump: ")) << result.err;
    EXPECT_NE(result.err.find(GetParam().errorWords), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, DumpUsageError,
    ::testing::Values(UsageCase{"UnknownOption", {"--bogus"}, "--bogus"},
                      UsageCase{"BadFormat", {"--format", "xml"}, "xml"},
                      UsageCase{"MissingFormatValue", {"--format"}, "--format"},
                      UsageCase{"EmptyFormatValue", {"--format=", "text"}, "--format"},
                      UsageCase{"StrayArgument", {"skills.idx"}, "skills.idx"},
                      UsageCase{"HexadecimalCodePage",
                                {"--codepage", "0x3a4"},
                                "--codepage: 0x3a4 is not a code page"},
                      UsageCase{"OctalLookingCodePage",
                                {"--codepage", "01644"},
                                "--codepage: 01644 is not a code page"},
                      UsageCase{"UnknownCodePage",
                                {"--codepage", "437"},
                                "--codepage: 437 is not a code page this program knows (874, 932, "
                                "936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, "
                                "1258)"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

// A code page is a decimal number, leading zeros and all.
TEST(DumpCommand, TakesACodePageWithLeadingZerosInDecimal) {
    const TempDir dir;
    const auto paths = writeTable(dir, testing::mixedTable());
    auto arguments = pathArguments(paths);
    arguments.insert(arguments.end(), {"--codepage", "01252"});
    const auto result = testing::runDump(arguments);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, testing::kMixedTableText);
}

// A live run's backups are its own: put back, they would undo a table it then puts in place. So
// while a run holds the lock, only that it is on is said.
TEST(DumpCommand, SaysARunIsOnRatherThanOfferingItsBackups) {
    const TempDir dir;
    const auto paths = writeTable(dir, testing::mixedTable());
    dir.write(".skills.mul.quorrel-old-0123456789abcdef-1", bytesOf("old data"));
    const std::string lock = (dir.path() / ".skills.idx.quorrel-lock").string();
    {
        const auto held = takeLock(FileSystem::native(), lock, [] {});
        // In CSV, which keeps the whole table, the dump says nothing else.
        const auto during = testing::runDump(withFormat(pathArguments(paths), "csv"));
        EXPECT_EQ(during.status, 0);
        EXPECT_EQ(during.err, "quorrel-dump: a quorrel-pack run is writing \"" + paths.index +
                                  "\" now; the files it keeps beside it are its own\n");
    }
    const auto after = testing::runDump(pathArguments(paths));
    EXPECT_NE(after.err.find("to put them back: "), std::string::npos) << after.err;
}

// An option given an empty value takes the empty path, which the load then refuses to open; the
// argument after it stays an argument of its own.
TEST(DumpCommand, AnEmptyPathOptionIsTheEmptyPathNotTheNextArgument) {
    const TempDir dir;
    const auto paths = writeTable(dir, testing::mixedTable());
    struct Case {
        std::vector<std::string> arguments;
        std::string refusal;
    };
    const std::vector<Case> cases = {
        {{"--index=", "--data=" + paths.data}, "quorrel-dump: cannot open \"\": "},
        {{"--data=", "--index=" + paths.index}, "quorrel-dump: cannot open \"\": "},
        {{"--index", paths.index, "--data", ""}, "quorrel-dump: cannot open \"\": "},
    };
    for (const Case& c : cases) {
        const auto result = testing::runDump(c.arguments);
        EXPECT_EQ(result.status, 1) << c.arguments[0];
        EXPECT_TRUE(result.err.starts_with(c.refusal)) << result.err;
        const std::string file = c.arguments[0] == "--index=" ? "the index file" : "the data file";
        EXPECT_NE(result.err.find("(" + file), std::string::npos) << result.err;
    }
}

// Memory running out after a long name was read, in its text conversion, ends the load at that
// record like any failure: the skills before it are printed and the status is 1.
TEST(DumpCommand, RunningOutOfMemoryPrintsTheSkillsBeforeAndFails) {
    const TempDir dir;
    const std::string longName(2 * 1024 * 1024, 'A');
    const SkillRecord skills[] = {{"Dowsing", 1}, {"Gilding", 0}, {longName, 1}};
    const auto paths = writeTable(dir, gameClientLayout(skills));
    // The first allocation this large holds the name's bytes, the second its text.
    const fault::AllocationFailure textConversion(2, 3 * 512 * 1024);
    const auto result = testing::runDump(pathArguments(paths));
    EXPECT_TRUE(textConversion.happened());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "[x] Dowsing\n[ ] Gilding\n");
    EXPECT_EQ(result.err, "quorrel-dump: out of memory (record 2 of \"" + paths.index + "\")\n");
}

// --output puts the file in place whole, or leaves the one there as it was: after a failing
// write, when it names a file the table is read from, and when the table is not read in full.
TEST(DumpOutput, ReplacesTheFileWholeOrLeavesItAsItWas) {
    const TempDir dir;
    const SkillFiles table = testing::mixedTable();
    const auto paths = writeTable(dir, table);
    const std::string output = dir.write("table.csv", testing::bytesOf("an edited list"));
    const auto dumpWith = [&](std::vector<std::string> more, std::size_t failingWrite = 0) {
        auto faults = std::make_shared<fault::WriteFaults>();
        faults->failingWrite = failingWrite;
        fault::FaultyWrites writer(faults);
        more.insert(more.end(), {"--index", paths.index, "--format", "csv"});
        return testing::runDumpWith(writer, more);
    };

    const auto failedWrite = dumpWith({"--data", paths.data, "--output", output}, 1);
    EXPECT_EQ(failedWrite.status, 1);
    EXPECT_TRUE(failedWrite.err.ends_with("; \"" + output + "\" is as it was\n"))
        << failedWrite.err;
    const auto sameFile = dumpWith({"--data", paths.data, "--output", paths.index});
    EXPECT_EQ(sameFile.status, 1);
    EXPECT_EQ(sameFile.err, "quorrel-dump: --output \"" + paths.index + "\" and --index \"" +
                                paths.index + "\" are the same file\n");
    const auto failedLoad = dumpWith({"--output", output, "--data", paths.data + ".missing"});
    EXPECT_EQ(failedLoad.status, 1);
    EXPECT_TRUE(failedLoad.err.ends_with(" was not written, as the table was not read in full\n"))
        << failedLoad.err;
    EXPECT_EQ(testing::contentsOf(output), "an edited list");
    EXPECT_EQ(testing::contentsOf(paths.index),
              std::string(table.index.begin(), table.index.end()));

    const auto written = dumpWith({"--data", paths.data, "--output", output, "--bom"});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(testing::contentsOf(output), "\xEF\xBB\xBF" + testing::dump(paths, "csv"));
    EXPECT_EQ(testing::namesIn(dir.path()),
              (std::set<std::string>{"skills.idx", "skills.mul", "table.csv"}));
}

// In Windows-932 the bytes 87 90 are a second spelling of U+2252, which is written 81 E0: the
// text comes back through a dump and a pack, the bytes do not, and the dump says so.
TEST(DumpCommand, NamesTheRecordsWhoseNamesAPackWouldWriteInOtherBytes) {
    const TempDir dir;
    const SkillRecord skills[] = {{"Dowsing", 1}, {"\x87\x90 Lore", 0}};
    const auto paths = writeTable(dir, gameClientLayout(skills));
    const auto result = testing::runDump(
        {"--data", paths.data, "--index", paths.index, "--format", "json", "--codepage", "932"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err,
              "quorrel-dump: in Windows-932 the name of record 1 uses a second spelling of a "
              "character, which quorrel-pack writes in its first: packed back, the text stays "
              "the same but the bytes do not\n");
    const std::string packed = (dir.path() / "packed").string();
    ASSERT_EQ(testing::runPack({"--data", packed + ".mul", "--index", packed + ".idx", "--format",
                                "json", "--codepage", "932"},
                               result.out)
                  .status,
              0);
    const SkillRecord firstSpelling[] = {{"Dowsing", 1}, {"\x81\xE0 Lore", 0}};
    const SkillFiles expected = gameClientLayout(firstSpelling);
    EXPECT_EQ(testing::contentsOf(packed + ".mul"),
              std::string(expected.data.begin(), expected.data.end()));
}

// What the texts say, and their status from the real programs, the CTest tests quorrel-dump.help,
// quorrel-pack.version, ... check; that they go to standard output alone is checked here.
TEST(DumpAndPack, HelpAndVersionGoToStandardOutputAlone) {
    for (const char* option : {"--help", "--version"}) {
        for (const auto& run : {testing::runDump({option}), testing::runPack({option})}) {
            EXPECT_EQ(run.status, 0) << option;
            EXPECT_FALSE(run.out.empty()) << option;
            EXPECT_EQ(run.err, "") << option;
        }
    }
}

TEST(DumpCommand, HelpAndVersionThatCannotBeWrittenFail) {
    for (const char* option : {"--help", "--version"}) {
        const auto result = testing::runDump({option}, true);
        EXPECT_EQ(result.status, 1) << option;
        EXPECT_EQ(result.err, "quorrel-dump: cannot write to standard output\n") << option;
    }
}

}  // namespace
}  // namespace quorrel::cli
