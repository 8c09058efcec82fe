// The most each list format reads for one name: a line, a field or a JSON string at the limit is
// read, one byte more is refused at once, so an endless one never fills the memory.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

#include "ExpectFailure.h"
#include "cli/formats/CsvReader.h"
#include "cli/formats/JsonReader.h"
#include "cli/formats/TextReader.h"
#include "runtime/base/Failure.h"

namespace quorrel::cli {
namespace {

constexpr std::size_t kLongest = 12;

using Reader = std::function<void(std::istream&, SkillTableBuilder&, std::size_t)>;

struct Format {
    const char* name;
    Reader read;
    std::function<std::string(const std::string&)> listOf;  // a list of one skill so named
    std::size_t aroundName;  // the bytes the limit counts beside the name
};

void PrintTo(const Format& format, std::ostream* out) {
    *out << format.name;
}

class ListLimit : public ::testing::TestWithParam<Format> {};

TEST_P(ListLimit, ReadsUpToItAndRefusesOneByteMore) {
    const Format& format = GetParam();
    for (const std::size_t length :
         {kLongest - format.aroundName, kLongest - format.aroundName + 1}) {
        std::istringstream in(format.listOf(std::string(length, 'n')));
        SkillTableBuilder table;
        if (length + format.aroundName <= kLongest) {
            format.read(in, table, kLongest);
        } else {
            EXPECT_FAILURE(format.read(in, table, kLongest), FailureKind::BadInput,
                           testing::HasSubstr("runs past 12 bytes"))
                << format.name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ListLimit,
    ::testing::Values(Format{"text", readTextTable,
                             [](const std::string& name) { return "[x] " + name + "\r\n"; }, 4},
                      Format{"csv", readCsvTable,
                             [](const std::string& name) {
                                 return "record,name,checked\n0,\"" + name + "\",true\n";
                             },
                             0},
                      Format{"json", readJsonTable,
                             [](const std::string& name) {
                                 return R"({"skills": [{"name": ")" + name +
                                        R"(", "checked": true}]})";
                             },
                             0},
                      Format{"json whitespace", readJsonTable,
                             [](const std::string& name) {
                                 return R"({"skills": [)" + std::string(name.size(), ' ') + "]}";
                             },
                             0}));

// Rows of empty cells hold nothing, but no more of them than a table has records are read.
TEST(ListLimit, CsvRowsOfEmptyCellsEndAtTheMostRecords) {
    for (const std::size_t rows : {std::size_t{10}, std::size_t{11}}) {
        std::string list = "record,name,checked\n";
        for (std::size_t row = 0; row < rows; ++row) {
            list += ",,\n";
        }
        std::istringstream in(list);
        SkillTableBuilder table(10 * 12);  // room for ten records
        if (rows <= table.mostRecords()) {
            readCsvTable(in, table);
        } else {
            EXPECT_FAILURE(readCsvTable(in, table), FailureKind::BadInput,
                           "line 12: more rows of empty cells in a row than the 10 records a "
                           "table holds");
        }
    }
}

}  // namespace
}  // namespace quorrel::cli
