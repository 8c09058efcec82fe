// The output formats, on lists built in memory.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/formats/CsvWriter.h"
#include "cli/formats/JsonWriter.h"
#include "cli/formats/TextWriter.h"

namespace quorrel::cli {
namespace {

std::string asText(const std::vector<SkillRow>& skills) {
    std::ostringstream out;
    writeSkillsAsText(out, skills);
    return out.str();
}

std::string asJson(const SkillDump& dump) {
    std::ostringstream out;
    writeSkillsAsJson(out, dump);
    return out.str();
}

std::string asCsv(const SkillDump& dump) {
    std::ostringstream out;
    writeSkillsAsCsv(out, dump);
    return out.str();
}

TEST(TextFormat, WritesOneMarkedLinePerItemInListOrder) {
    const std::vector<SkillRow> skills{
        {0, "Dowsing", true}, {1, "Zither Tuning", false}, {4, "", true}};
    EXPECT_EQ(asText(skills), "[x] Dowsing\n[ ] Zither Tuning\n[x] \n");
    EXPECT_EQ(asText({}), "");
}

// Every control character and the backslash is escaped, so that a name is one line and cannot
// drive the terminal; other characters, non-ASCII letters included, stay as they are.
TEST(TextFormat, EscapesControlCharactersAndTheBackslash) {
    struct Case {
        std::string input;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Evil\n[x] Fake", "Evil\\n[x] Fake"},
        {"a\rb\tc", "a\\rb\\tc"},
        {"\x1b[2J\x1b]0;title\x07", "\\x1b[2J\\x1b]0;title\\x07"},
        {"back\\slash", "back\\\\slash"},
        {"del\x7f", "del\\x7f"},
        {"c1 \u0081\u008d\u009d end", "c1 \\x81\\x8d\\x9d end"},
        {"Cr\u00e8me \u00a0\u20ac\u00c2", "Cr\u00e8me \u00a0\u20ac\u00c2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(asText({{0, c.input, false}}), "[ ] " + c.expected + "\n") << c.input;
    }
}

TEST(JsonFormat, WritesTheSkillsInOrderWithTheirRecordsAndANullError) {
    const SkillDump dump{{{0, "Dowsing", true, 255}, {3, "Fen Walking", false, 0}}, std::nullopt};
    EXPECT_EQ(asJson(dump),
              "{\n"
              "  \"skills\": [\n"
              "    {\n"
              "      \"record\": 0,\n"
              "      \"name\": \"Dowsing\",\n"
              "      \"checked\": true,\n"
              "      \"flag\": 255\n"
              "    },\n"
              "    {\n"
              "      \"record\": 3,\n"
              "      \"name\": \"Fen Walking\",\n"
              "      \"checked\": false,\n"
              "      \"flag\": 0\n"
              "    }\n"
              "  ],\n"
              "  \"recordCount\": 0,\n"
              "  \"error\": null\n"
              "}\n");
    EXPECT_EQ(asJson(SkillDump{}),
              "{\n  \"skills\": [],\n  \"recordCount\": 0,\n  \"error\": null\n}\n");
}

TEST(JsonFormat, WritesTheFailureKindAndMessageAfterTheSkillsReadBeforeIt) {
    const SkillDump dump{{{1, "Dowsing", false}},
                         Failure(FailureKind::BufferBounds, "record 1 of a.idx: length -5")};
    EXPECT_EQ(asJson(dump),
              "{\n"
              "  \"skills\": [\n"
              "    {\n"
              "      \"record\": 1,\n"
              "      \"name\": \"Dowsing\",\n"
              "      \"checked\": false,\n"
              "      \"flag\": 0\n"
              "    }\n"
              "  ],\n"
              "  \"recordCount\": 0,\n"
              "  \"error\": {\n"
              "    \"kind\": \"buffer-bounds\",\n"
              "    \"message\": \"record 1 of a.idx: length -5\"\n"
              "  }\n"
              "}\n");
}

// The document is written by hand, so a JSON parser checks that every name survives it.
TEST(JsonFormat, EscapesWhatJsonRequiresAndKeepsNonAsciiAsUtf8) {
    const std::string name = "Cr\u00e8me \u20ac \"q\" \\ \x01\x1f\n\t\x7f\u0085";
    const SkillDump dump{{{7, name, true}}, Failure(FailureKind::ReadError, "\"x\"\n")};
    const std::string json = asJson(dump);
    EXPECT_NE(json.find("\"Cr\u00e8me \u20ac \\\"q\\\" \\\\ \\u0001\\u001f\\n\\t\x7f\u0085\""),
              std::string::npos)
        << json;
    const auto parsed = nlohmann::json::parse(json);
    EXPECT_EQ(parsed["skills"][0]["name"], name);
    EXPECT_EQ(parsed["skills"][0]["record"], 7);
    EXPECT_EQ(parsed["error"]["kind"], "read-error");
    EXPECT_EQ(parsed["error"]["message"], "\"x\"\n");
}

// A path in a message may hold any bytes; each that is not part of a UTF-8 character becomes
// U+FFFD, and the rest of the message stays as it is.
TEST(JsonFormat, WritesBytesThatAreNotUtf8AsTheReplacementCharacter) {
    const std::string message = "cannot open \"a\xff\xc3(\xe2\x82 \xed\xa0\x80 \u00e9\xc3\"";
    const SkillDump dump{{}, Failure(FailureKind::OpenRefused, message)};
    const auto parsed = nlohmann::json::parse(asJson(dump));
    EXPECT_EQ(parsed["error"]["message"],
              "cannot open \"a\uFFFD\uFFFD(\uFFFD\uFFFD \uFFFD\uFFFD\uFFFD \u00e9\uFFFD\"");
}

// Every index record is a row, an empty slot's with its record alone, those after the last skill
// too, so that the table comes back whole.
TEST(CsvFormat, WritesARowPerRecordQuotingWhereNeeded) {
    const SkillDump dump{{{0, "Dowsing", true, 5},
                          {2, "Salt, Pepper", false, 0},
                          {3, "The \"Best\" Bow", true, 1},
                          {5, "Two\nLines", true, 255},
                          {6, "Cr\u00e8me", false, 0}},
                         std::nullopt,
                         8};
    EXPECT_EQ(asCsv(dump),
              "record,name,checked,flag\r\n"
              "0,Dowsing,true,5\r\n"
              "1,,,\r\n"
              "2,\"Salt, Pepper\",false,0\r\n"
              "3,\"The \"\"Best\"\" Bow\",true,1\r\n"
              "4,,,\r\n"
              "5,\"Two\nLines\",true,255\r\n"
              "6,Cr\u00e8me,false,0\r\n"
              "7,,,\r\n");
    EXPECT_EQ(asCsv({}), "record,name,checked,flag\r\n");
}

}  // namespace
}  // namespace quorrel::cli
