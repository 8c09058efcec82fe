#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include "cli/ExitStatus.h"
#include "cli/formats/TableFormat.h"
#include "runtime/text/CodePage.h"
#include "skills/SkillFileLayout.h"

namespace quorrel::cli {

inline constexpr const char* kDumpProgram = "quorrel-dump";

// What quorrel-dump was asked to do.
struct DumpOptions {
    std::string dataPath = kDefaultDataPath;
    std::string indexPath = kDefaultIndexPath;
    TableFormat format = TableFormat::Text;
    CodePage codePage = CodePage::ofSystem();
    std::optional<std::string> outputPath;  // standard output when missing or "-"
    bool byteOrderMark = false;             // the output starts with UTF-8's
};

using ParsedArguments = std::variant<DumpOptions, EarlyExit>;

// Reads the command line. Help and version text go to `out`, usage errors to `err`. An option
// given with an empty value ("--data=" or "--data ''") takes the empty text, never the argument
// after it.
ParsedArguments parseDumpArguments(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err);

}  // namespace quorrel::cli
