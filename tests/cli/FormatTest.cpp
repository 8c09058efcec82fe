// The two output formats, on lists built in memory.
#include <gtest/gtest.h>

#include <sstream>

#include "JsonFormat.h"
#include "TextFormat.h"

namespace quorrel::cli {
namespace {

std::string asText(const std::vector<SkillItem>& skills) {
    std::ostringstream out;
    writeSkillsAsText(out, skills);
    return out.str();
}

TEST(TextFormat, WritesOneMarkedLinePerItemInListOrder) {
    const std::vector<SkillItem> skills{{"Dowsing", true}, {"Zither Tuning", false}, {"", true}};
    EXPECT_EQ(asText(skills), "[x] Dowsing\n[ ] Zither Tuning\n[x] \n");
}

TEST(TextFormat, WritesNothingForAnEmptyList) {
    EXPECT_EQ(asText({}), "");
}

TEST(JsonFormat, WritesTheSkillsInOrderWithANullError) {
    const SkillDump dump{{{"Dowsing", true}, {"Fen Walking", false}}, std::nullopt};
    EXPECT_EQ(skillsAsJson(dump),
              "{\n"
              "  \"skills\": [\n"
              "    {\n"
              "      \"name\": \"Dowsing\",\n"
              "      \"checked\": true\n"
              "    },\n"
              "    {\n"
              "      \"name\": \"Fen Walking\",\n"
              "      \"checked\": false\n"
              "    }\n"
              "  ],\n"
              "  \"error\": null\n"
              "}\n");
}

TEST(JsonFormat, WritesAnEmptyArrayForAnEmptyList) {
    EXPECT_EQ(skillsAsJson(SkillDump{}), "{\n  \"skills\": [],\n  \"error\": null\n}\n");
}

TEST(JsonFormat, WritesTheFailureKindAndMessageAfterTheSkillsReadBeforeIt) {
    const SkillDump dump{{{"Dowsing", false}},
                         Failure(FailureKind::BufferBounds, "record 1 of a.idx: length -5")};
    EXPECT_EQ(skillsAsJson(dump),
              "{\n"
              "  \"skills\": [\n"
              "    {\n"
              "      \"name\": \"Dowsing\",\n"
              "      \"checked\": false\n"
              "    }\n"
              "  ],\n"
              "  \"error\": {\n"
              "    \"kind\": \"buffer-bounds\",\n"
              "    \"message\": \"record 1 of a.idx: length -5\"\n"
              "  }\n"
              "}\n");
}

TEST(JsonFormat, KeepsNonAsciiNamesAsUtf8AndEscapesWhatJsonRequires) {
    const SkillDump dump{{{"Cr\u00e8me \u20ac \"q\" \\ \x01", true}}, std::nullopt};
    const std::string json = skillsAsJson(dump);
    EXPECT_NE(json.find("\"name\": \"Cr\u00e8me \u20ac \\\"q\\\" \\\\ \\u0001\""),
              std::string::npos)
        << json;
}

}  // namespace
}  // namespace quorrel::cli
