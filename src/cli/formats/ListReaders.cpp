#include "ListReaders.h"

#include "CsvReader.h"
#include "JsonReader.h"
#include "TextReader.h"

namespace quorrel::cli {

void readListInFormat(std::istream& in, TableFormat format, SkillTableBuilder& table) {
    switch (format) {
        case TableFormat::Text:
            readTextTable(in, table);
            return;
        case TableFormat::Json:
            readJsonTable(in, table);
            return;
        case TableFormat::Csv:
            readCsvTable(in, table);
            return;
    }
}

}  // namespace quorrel::cli
