// quorrel-pack run in this process: round trips through quorrel-dump on tables the tests make,
// bad input that must leave the old files alone, and the rules for existing files.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "AllocationFailure.h"
#include "Files.h"
#include "NumberedCase.h"
#include "SkillTableFiles.h"
#include "TableBytes.h"
#include "WriteFaults.h"
#include "skills/SkillFileLayout.h"

namespace quorrel::cli {
namespace {

using testing::contentsOf;
using testing::dump;
using testing::namesIn;
using testing::runDump;
using testing::runPack;
using testing::runPackWith;
using testing::TempDir;
using testing::utf16WithMark;

std::vector<std::string> targets(const TempDir& dir, const char* stem) {
    const std::string base = (dir.path() / stem).string();
    return {"--data", base + ".mul", "--index", base + ".idx"};
}

testing::TablePaths pathsOf(const TempDir& dir, const char* stem) {
    const std::string base = (dir.path() / stem).string();
    return {base + ".mul", base + ".idx"};
}

std::vector<std::string> with(std::vector<std::string> arguments,
                              std::initializer_list<std::string> more) {
    arguments.insert(arguments.end(), more);
    return arguments;
}

// A table in the game clients' layout with everything a name and a flag can be: flags 0, 1 and
// 255, Windows-1252 letters, the five bytes the code page leaves unassigned, characters the text
// format escapes, an empty name, and empty slots at the start, in the middle and at the end.
SkillFiles gameClientTable() {
    SkillFiles files;
    appendEmptySlot(files);
    appendGameClientRecord(files, {"Dowsing", 1});
    appendGameClientRecord(files, {"Cr\xE8me Br\xFBl\xE9"
                                   "e \x80\x99",
                                   0});
    appendEmptySlot(files);
    appendEmptySlot(files);
    appendGameClientRecord(files, {"Odd \x81\x8D\x8F\x90\x9D bytes", 255});
    appendGameClientRecord(files, {"Tab\there, line\nbreak, \\ \x1B, \"quoted\", \x85", 7});
    appendGameClientRecord(files, {"", 1});
    appendEmptySlot(files);
    return files;
}

class RoundTrip : public ::testing::TestWithParam<const char*> {};

// The packed table reads back to the same dump in every format. JSON and CSV keep the records,
// the flags and the empty slots at the end, and give back the same bytes; the dump in text says
// what text leaves out.
TEST_P(RoundTrip, PacksADumpBackIntoTheSameTable) {
    const std::string format = GetParam();
    const TempDir dir;
    const auto original = writeTable(dir, gameClientTable());
    const auto dumped = testing::runDumpOf(original, format);
    ASSERT_EQ(dumped.status, 0) << dumped.err;

    const auto result = runPack(with(targets(dir, "packed"), {"--format", format}), dumped.out);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out + result.err, "");
    const auto packed = pathsOf(dir, "packed");
    EXPECT_EQ(dump(packed, format), dumped.out);
    if (format == "text") {
        EXPECT_EQ(dumped.err,
                  "quorrel-dump: the text format keeps names and check marks only, and this table "
                  "has 3 empty slots before or between its skills (the first is record 0), which "
                  "would move the skills after them to other records; 1 empty slot after its last "
                  "skill, which would be dropped; 2 flags other than 0 and 1 (the first, 255, at "
                  "record 5), which would become 1; --format csv or --format json keeps the whole "
                  "table\n");
        return;
    }
    EXPECT_EQ(dumped.err, "");
    EXPECT_EQ(contentsOf(packed.data), contentsOf(original.data));
    EXPECT_EQ(contentsOf(packed.index), contentsOf(original.index));
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip, ::testing::Values("json", "text", "csv"));

struct CodePageTable {
    const char* codePage;
    SkillFiles files;
    const char* namesInJson;
};

void PrintTo(const CodePageTable& table, std::ostream* out) {
    *out << "Windows-" << table.codePage;
}

class CodePageRoundTrip : public ::testing::TestWithParam<CodePageTable> {};

// A table written in another code page reads as that code page's text with --codepage, and
// packs back into the same bytes.
TEST_P(CodePageRoundTrip, DumpsAndPacksTheSameBytes) {
    const std::string codePage = GetParam().codePage;
    const TempDir dir;
    const auto original = writeTable(dir, GetParam().files);
    const auto dumped = runDump({"--data", original.data, "--index", original.index, "--format",
                                 "json", "--codepage", codePage});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_NE(dumped.out.find(GetParam().namesInJson), std::string::npos) << dumped.out;

    const auto result = runPack(
        with(targets(dir, "packed"), {"--format", "json", "--codepage", codePage}), dumped.out);
    ASSERT_EQ(result.status, 0) << result.err;
    const auto packed = pathsOf(dir, "packed");
    EXPECT_EQ(contentsOf(packed.data), contentsOf(original.data));
    EXPECT_EQ(contentsOf(packed.index), contentsOf(original.index));
}

SkillFiles tableOf(std::initializer_list<SkillRecord> skills) {
    return gameClientLayout(std::span(skills.begin(), skills.size()));
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, CodePageRoundTrip,
    ::testing::Values(
        CodePageTable{
            "1251",
            tableOf({{"\xC7\xE5\xEB\xFC\xE5\xE2\xE0\xF0\xE5\xED\xE8\xE5", 1}, {"Dowsing \x98", 0}}),
            "\"name\": "
            "\"\u0417\u0435\u043B\u044C\u0435\u0432\u0430\u0440\u0435\u043D\u0438\u0435\""},
        CodePageTable{"932",
                      tableOf({{"\x98\x42\x8B\xE0\x8F\x70 \xB6\xC0\xC5", 1}, {"\x95\x5C", 0}}),
                      "\"name\": \"\u932C\u91D1\u8853 \uFF76\uFF80\uFF85\""}),
    testing::NumberedCase());

// A table in another layout (records out of the data file's order, lengths without the
// terminator, extra values, empty slots of both kinds) packs into the game clients' layout that
// lists the same.
TEST(Pack, ATableInAnyLayoutPacksToOneThatListsTheSame) {
    const TempDir dir;
    const std::string data("\x01Zither\x00Quill\x00", 14);
    const std::vector<std::uint8_t> dataBytes(data.begin(), data.end());
    const IndexRecord records[] = {{8, 6, 0}, {-1, 5, 9}, {0, 7, 0x12345678}, {3, 0, 1}};
    const testing::TablePaths original{dir.write("odd.mul", dataBytes),
                                       dir.write("odd.idx", indexBytes(records))};
    const std::string dumped = dump(original, "json");
    const auto result = runPack(with(targets(dir, "packed"), {"--format", "json"}), dumped);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(dump(pathsOf(dir, "packed"), "json"), dumped);
}

// A list as a user's own tools save it, each spelling of the same two skills: the record, the
// flag and the name "Fa\u00e7ade Carving" come out as quorrel-dump's own list gives them.
struct ToolSpelling {
    const char* tool;
    const char* format;
    std::string input;
    std::vector<std::string> options = {};
};

void PrintTo(const ToolSpelling& spelling, std::ostream* out) {
    *out << spelling.tool;
}

class ToolsLists : public ::testing::TestWithParam<ToolSpelling> {};

TEST_P(ToolsLists, PackIntoTheTableTheyHold) {
    const TempDir dir;
    std::vector<std::string> arguments =
        with(targets(dir, "packed"), {"--format", GetParam().format});
    arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
    const auto result = runPack(arguments, GetParam().input);
    ASSERT_EQ(result.status, 0) << result.err;
    const SkillRecord skills[] = {{"Dowsing", 1},
                                  {"Fa\xE7"
                                   "ade Carving",
                                   0}};
    const SkillFiles expected = gameClientLayout(skills);
    const auto packed = pathsOf(dir, "packed");
    EXPECT_EQ(contentsOf(packed.data), std::string(expected.data.begin(), expected.data.end()));
    EXPECT_EQ(contentsOf(packed.index), std::string(expected.index.begin(), expected.index.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, ToolsLists,
    ::testing::Values(
        ToolSpelling{"quorrel-dump 0.2.0, CSV without the flag", "csv",
                     "record,name,checked\r\n0,Dowsing,true\r\n1,Fa\u00e7ade Carving,false\r\n"},
        ToolSpelling{"Excel, CSV UTF-8", "csv",
                     "\xEF\xBB\xBFrecord,name,checked,flag\r\n0,Dowsing,TRUE,1\r\n"
                     "1,Fa\u00e7ade Carving,FALSE,0\r\n"},
        ToolSpelling{"Excel where the decimal separator is a comma", "csv",
                     "\xEF\xBB\xBFrecord;name;checked;flag\r\n0;Dowsing;TRUE;1\r\n"
                     "1;\"Fa\u00e7ade Carving\";FALSE;0\r\n"},
        ToolSpelling{"Excel, with rows of empty cells after the table", "csv",
                     "record,name,checked,flag\r\n0,Dowsing,TRUE,1\r\n"
                     "1,Fa\u00e7ade Carving,FALSE,0\r\n,,,\r\n,,,\r\n"},
        ToolSpelling{"LibreOffice Calc, text cells quoted", "csv",
                     "\"record\",\"name\",\"checked\",\"flag\"\n0,\"Dowsing\",TRUE,1\n"
                     "1,\"Fa\u00e7ade Carving\",FALSE,0\n"},
        ToolSpelling{"LibreOffice Calc where the decimal separator is a comma", "csv",
                     "\"record\";\"name\";\"checked\";\"flag\"\n0;\"Dowsing\";TRUE;1\n"
                     "1;\"Fa\u00e7ade Carving\";FALSE;0\n"},
        ToolSpelling{"Python's csv module, excel dialect", "csv",
                     "record,name,checked,flag\r\n0,Dowsing,True,1\r\n"
                     "1,Fa\u00e7ade Carving,False,0\r\n"},
        ToolSpelling{"a script writing 1 and 0 and no flag", "csv",
                     "record,name,checked,flag\r\n0,Dowsing,1,\r\n1,Fa\u00e7ade Carving,0,\r\n"},
        ToolSpelling{"Windows PowerShell 5.1's >, UTF-16LE", "json",
                     utf16WithMark(u"{\"skills\": [{\"name\": \"Dowsing\", \"flag\": 1},\r\n"
                                   u"{\"name\": \"Fa\u00e7ade Carving\", \"checked\": false}]}\r\n",
                                   false)},
        ToolSpelling{"iconv -t UTF-16", "text",
                     utf16WithMark(u"[x] Dowsing\n[ ] Fa\u00e7ade Carving\n", false)},
        ToolSpelling{"UTF-16BE with its mark", "csv",
                     utf16WithMark(u"record,name,checked,flag\r\n0,Dowsing,true,1\r\n"
                                   u"1,Fa\u00e7ade Carving,false,0\r\n",
                                   true)},
        ToolSpelling{"Notepad, UTF-8 with BOM", "text",
                     "\xEF\xBB\xBF[x] Dowsing\r\n[ ] Fa\u00e7ade Carving\r\n"},
        ToolSpelling{
            "a pipe, --from -", "text", "[x] Dowsing\n[ ] Fa\u00e7ade Carving\n", {"--from", "-"}}),
    testing::NumberedCase());

TEST(Pack, ReadsTheListFromAFileWithFrom) {
    const TempDir dir;
    const std::string list =
        dir.write("list.txt", std::vector<std::uint8_t>{'[', 'x', ']', ' ', 'Q'});
    const auto result = runPack(with(targets(dir, "packed"), {"--from", list}));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(dump(pathsOf(dir, "packed"), "text"), "[x] Q\n");
}

struct BadInput {
    const char* format;
    std::string input;
    std::string words;
};

void PrintTo(const BadInput& bad, std::ostream* out) {
    *out << bad.format << ": " << bad.words;
}

class PackBadInput : public ::testing::TestWithParam<BadInput> {};

TEST_P(PackBadInput, FailsNamingTheLineOrSkillAndLeavesTheFilesAlone) {
    const TempDir dir;
    const auto old = writeTable(dir, testing::mixedTable());
    const auto before = namesIn(dir.path());
    const auto result = runPack(
        {"--data", old.data, "--index", old.index, "--format", GetParam().format, "--force"},
        GetParam().input);
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.starts_with("quorrel-pack: standard input: ")) << result.err;
    EXPECT_NE(result.err.find(GetParam().words), std::string::npos) << result.err;
    const auto expected = testing::mixedTable();
    EXPECT_EQ(contentsOf(old.index), std::string(expected.index.begin(), expected.index.end()));
    EXPECT_EQ(contentsOf(old.data), std::string(expected.data.begin(), expected.data.end()));
    EXPECT_EQ(namesIn(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, PackBadInput,
    ::testing::Values(
        BadInput{"text", "[x] Fine\nNo mark\n", "line 2: a skill's line starts with"},
        BadInput{"text", "[x] a\\q\n", "line 1: unknown escape \\q"},
        BadInput{"text", "[x] a\\x4\n", "line 1: \\x must be followed by two hexadecimal"},
        BadInput{"text", "[x] a\\x00b\n",
                 "line 1: skill \"a\\x00b\" (record 0): its name holds a zero byte"},
        BadInput{"text", "[ ] Ki \u4E2D\n",
                 "line 1: skill \"Ki \u4E2D\" (record 0): its name holds U+4E2D, which "
                 "Windows-1252 cannot hold"},
        BadInput{"text", "[ ] \xC3(\n", "its name is not valid UTF-8"},
        BadInput{"text", "[x] A\r[x] B\r", "line 1: a carriage return without a line feed"},
        BadInput{"text", std::string("[x] A\0B\n", 8), "line 1: a zero byte"},
        BadInput{"csv", "name,record,checked\r\n", "line 1: the first row must be the header"},
        BadInput{"csv", "record,name,checked\r\n3,A,true\r\n2,B,false\r\n",
                 "line 3: skill \"B\" (record 2): its record is not after the previous skill's "
                 "record 3"},
        BadInput{"csv", "record,name,checked\r\n1,A,true\r\n1,B,true\r\n",
                 "line 3: skill \"B\" (record 1)"},
        BadInput{"csv", "record,name,checked\r\n0,\"A\r\nB,true\r\n",
                 "line 2: a quoted field "
                 "is not closed"},
        BadInput{"csv", "record,name,checked\r\n0,A,yes\r\n", "line 2: checked is \"yes\""},
        BadInput{"csv", "record,name,checked,flag\r\n0,A,true,0\r\n",
                 "line 2: checked is \"true\" but the flag 0 says otherwise"},
        BadInput{"csv", "record,name,checked,flag\r\n0,A,,256\r\n",
                 "line 2: the flag \"256\" is too large for a byte"},
        BadInput{"csv", "record,name,checked,flag\r\n0,A,,\r\n",
                 "line 2: checked and flag are both empty"},
        BadInput{"csv", "record,name,checked,flag\r\n3,A,true,1\r\n2,,,\r\n",
                 "line 3: the empty slot 2 is not after the previous row's record 3"},
        BadInput{"text", std::string("[\0x\0]\0 \0A\0\n\0", 12),
                 "line 1: a zero byte; a name cannot hold one, and text lists write none (a list "
                 "in UTF-16 must start with its byte-order mark)"},
        BadInput{"text", "[x] Dowsing\n[ ] \u0422\u0435\u0441\u0442\n[x] \u0415\u0449\u0451\n",
                 "line 2: skill \"\u0422\u0435\u0441\u0442\" (record 1): its name holds U+0422, "
                 "which Windows-1252 cannot hold; --codepage 1251 holds every name of this list"},
        BadInput{"text", "[x] Fa\u00e7ade\n[ ] \u0422\u0435\u0441\u0442\n",
                 "which Windows-1252 cannot hold; no other code page this program knows holds "
                 "every name of this list"},
        BadInput{"json",
                 R"({"skills": [{"name": "\u0422\u0435\u0441\u0442", "checked": true},
                                {"name": "\u0395\u03bb\u03bb\u03b1\u03b4\u03b1", "checked": true}]})",
                 "skills[0]: skill \"\u0422\u0435\u0441\u0442\" (record 0): its name holds U+0422, "
                 "which Windows-1252 cannot hold; --codepage 932 holds every name of this list"},
        BadInput{"csv", "record,name,checked\r\n-1,A,true\r\n", "line 2: the record \"-1\""},
        BadInput{"csv", "record,name,checked\r\n0,A\r\n", "line 2: a row has 3 fields"},
        BadInput{"csv", "record,name,checked\r\n0,A,true,,,,\r\n", "line 2: a row has 3 fields"},
        BadInput{"csv", "record,name,checked\r0,A,true\r",
                 "line 1: a carriage return without a line feed after it: rows end"},
        BadInput{"json", "{\"skills\": [", "not a JSON document: parse error at line 1"},
        BadInput{"json", "[]", "must be an object"},
        BadInput{"json",
                 R"({"skills": [{"name": "A", "checked": true}],
                     "error": {"kind": "read-error", "message": "cannot read"}})",
                 "\"error\" is not null (\"cannot read\")"},
        BadInput{"json", R"({"skills": [], "error": {"kind": "x", "message": "y", "detail": []}})",
                 "\"error\" is not null (\"y\")"},
        BadInput{"json", R"({"skills": [], "recordCount": 1, "recordCount": 2})",
                 "the document gives \"recordCount\" twice"},
        BadInput{"json", R"({"skills": [{"record": 18446744073709551616, "name": "A"}]})",
                 "skills[0]: \"record\" is 18446744073709551616, too large"},
        BadInput{"json", R"({"skills": [], "recordCount": 99999999999999999999999})",
                 "\"recordCount\" is 99999999999999999999999, too large"},
        BadInput{"json", R"({"skills": [{"name": "A", "flag": 256}]})",
                 "skills[0]: \"flag\" is 256"},
        BadInput{"json", R"({"skills": [{"name": "A", "flag": 0, "checked": true}]})",
                 "skills[0]: \"checked\" is true but \"flag\" 0 says otherwise"},
        BadInput{"json", R"({"skills": [{"name": "A\u0000B", "checked": true}]})",
                 "skills[0]: skill \"A\\x00B\" (record 0): its name holds a zero byte"},
        BadInput{"json", R"({"skills": [{"name": "A", "checked": true, "flags": 1}]})",
                 "skills[0]: unknown key \"flags\""},
        BadInput{"json", R"({"skills": [{"name": "A", "checked": 1}]})",
                 "skills[0]: \"checked\" is a number, not true or false"},
        BadInput{"json", R"({"skills": [{"record": 5, "name": "A", "checked": true},
                                        {"record": 5, "name": "B", "checked": true}]})",
                 "skills[1]: skill \"B\" (record 5)"},
        BadInput{"json", R"({"skills": [{"record": 200000000, "name": "A", "checked": true}]})",
                 "the index file would pass 2 GiB"},
        BadInput{"json", R"({"skills": [{"record": 3, "name": "A", "checked": true}],
                             "recordCount": 2})",
                 "recordCount: the table has 2 records, but its skills use 4"},
        BadInput{"json", R"({"error": null})", "no \"skills\" list"},
        // Encoding faults, said as what they are.
        BadInput{"text", "[x] A\n\xEF\xBB\xBF[x] B\n",
                 "line 2: a byte-order mark in the middle of the list"},
        BadInput{"csv", "\xEF\xBB\xBF\xEF\xBB\xBFrecord,name,checked\r\n",
                 "line 1: a byte-order mark in the middle of the list"},
        BadInput{"json", "{\"skills\": \xEF\xBB\xBF[]}",
                 "line 1, column 12: a byte-order mark in the middle of the list"},
        BadInput{"text", utf16WithMark(u"[x] A\n[x] B") + "C",
                 "line 2: the list ends in half a UTF-16 character"},
        // Numbers past the bound, however many digits.
        BadInput{"csv", "record,name,checked\r\n18446744073709551616,A,true\r\n",
                 "line 2: the record \"18446744073709551616\" is too large"},
        BadInput{"csv", "record,name,checked\r\n" + std::string(400, '9') + ",A,true\r\n",
                 "line 2: the record \"" + std::string(60, '9') + "...\" is too large"},
        BadInput{"json", R"({"skills": [{"record": )" + std::string(400, '7') + "}]}",
                 "skills[0]: \"record\" is 777777777777777777777777..., too large"},
        BadInput{"json", R"({"skills": [], "recordCount": )" + std::string(309, '1') + "}",
                 "\"recordCount\" is 111111111111111111111111..., too large"},
        BadInput{"json", R"({"skills": [], "recordCount": 1e400})",
                 "\"recordCount\" must be a whole number from 0, not a fractional number"},
        // What the list gave, cut to a readable length and with its control characters escaped.
        BadInput{"csv", "record,name,checked\r\n0,A," + std::string(1 << 20, 'y') + "\r\n",
                 "line 2: checked is \"" + std::string(60, 'y') + "...\", not true or false"},
        BadInput{"csv", "record,name,checked\r\n0,A,\x1B[31m\xC2\x9B\r\n",
                 "line 2: checked is \"\\x1b[31m\\x9b\", not"},
        BadInput{"json", R"({"skills": [], "\u001b]0;title\u0007": 1})",
                 "the document holds \"\\x1b]0;title\\x07\"; it holds only"},
        BadInput{"json", R"({"skills": [], "error": {"message": "\u009b2J\n"}})",
                 "\"error\" is not null (\"\\x9b2J\\n\")"},
        BadInput{"text", "[x] a\\\x1B\n", "line 1: unknown escape \\ before \"\\x1b\""},
        // A syntax error where it stands, past a run of whitespace the parser sees as one space.
        BadInput{"json", "{\"skills\": [\n\n     \n  }", "parse error at line 4, column 3:"}),
    testing::NumberedCase());

// Memory running out while a list is read is said where the reader stood, in every format, not at
// a record the list does not have.
TEST(Pack, RunningOutOfMemoryNamesTheLineBeingRead) {
    const std::string longName(2 * 1024 * 1024, 'n');
    const std::pair<const char*, std::string> lists[] = {
        {"text", "[x] A\n[x] B\n[x] " + longName + "\n"},
        {"csv", "record,name,checked\n0,A,true\n2," + longName + ",true\n"},
        {"json", "{\"skills\": [{\"name\": \"A\", \"checked\": true},\n\n  {\"name\": \"" +
                     longName + "\"}]}"},
    };
    for (const auto& [format, list] : lists) {
        const TempDir dir;
        // The first allocation this large is the list's copy in the test's standard input.
        const fault::AllocationFailure failing(2, 1024 * 1024);
        const auto result = runPack(with(targets(dir, "packed"), {"--format", format}), list);
        EXPECT_TRUE(failing.happened()) << format;
        EXPECT_EQ(result.status, 1) << format;
        EXPECT_TRUE(result.err.starts_with("quorrel-pack: standard input: line 3")) << result.err;
        EXPECT_TRUE(result.err.ends_with(": out of memory\n")) << result.err;
    }
}

TEST(Pack, ReplacesExistingFilesOnlyWithForce) {
    const TempDir dir;
    const auto old = writeTable(dir, testing::mixedTable());
    const auto oldIndex = contentsOf(old.index);
    const auto refused = runPack({"--data", old.data, "--index", old.index}, "[x] New\n");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "quorrel-pack: \"" + old.data + "\" already exists; --force replaces it\n");
    EXPECT_EQ(contentsOf(old.index), oldIndex);

    // One existing file is enough to refuse both.
    const auto paths = pathsOf(dir, "half");
    dir.write("half.idx", std::vector<std::uint8_t>{1, 2, 3});
    EXPECT_EQ(runPack({"--data", paths.data, "--index", paths.index}, "[x] New\n").status, 1);
    EXPECT_FALSE(std::filesystem::exists(paths.data));

    const auto forced = runPack({"--data", old.data, "--index", old.index, "--force"}, "[x] New\n");
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(dump(old, "text"), "[x] New\n");
}

TEST(Pack, AFailingRenameLeavesTheOldFilesAndSaysWhy) {
    const TempDir dir;
    const auto old = writeTable(dir, testing::mixedTable());
    const auto oldData = contentsOf(old.data);
    const auto oldIndex = contentsOf(old.index);
    auto faults = std::make_shared<fault::WriteFaults>();
    faults->failingRename = 3;  // the third step of the swap, with the new table in place
    fault::FaultyWrites writer(faults);
    const auto result =
        runPackWith(writer, {"--data", old.data, "--index", old.index, "--force"}, "[x] New\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.starts_with("quorrel-pack: cannot rename")) << result.err;
    EXPECT_EQ(contentsOf(old.data), oldData);
    EXPECT_EQ(contentsOf(old.index), oldIndex);
    EXPECT_EQ(namesIn(dir.path()).size(), 2u);
}

TEST(Pack, UsageErrorsExitWith2) {
    const TempDir dir;
    const auto paths = pathsOf(dir, "t");
    const std::vector<std::vector<std::string>> cases = {
        {"--data", paths.data},
        {"--index", paths.index},
        {"--data", paths.data, "--index", paths.index, "--format", "xml"},
        {"--data=", "--index", paths.index},
        {"--data", paths.data, "--index", paths.index, "--format", "csv", "--format", "json"},
    };
    for (const auto& arguments : cases) {
        const auto result = runPack(arguments);
        EXPECT_EQ(result.status, 2) << arguments.back();
        EXPECT_TRUE(result.err.starts_with("quorrel-pack: ")) << result.err;
    }
    EXPECT_TRUE(namesIn(dir.path()).empty());
    EXPECT_EQ(runPack(cases.back()).err,
              "quorrel-pack: --format is given twice; give it once\n"
              "Run with --help for more information.\n");
}

}  // namespace
}  // namespace quorrel::cli
