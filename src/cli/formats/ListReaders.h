#pragma once

#include <istream>

#include "TableFormat.h"
#include "skills/SkillTableBuilder.h"

namespace quorrel::cli {

// Reads the list in `format` into the table, with that format's reader (TextReader, JsonReader,
// CsvReader), which says how it fails.
void readListInFormat(std::istream& in, TableFormat format, SkillTableBuilder& table);

}  // namespace quorrel::cli
