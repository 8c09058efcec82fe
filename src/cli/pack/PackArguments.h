#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include "cli/ExitStatus.h"
#include "cli/formats/TableFormat.h"
#include "runtime/text/CodePage.h"

namespace quorrel::cli {

inline constexpr const char* kPackProgram = "quorrel-pack";

// What quorrel-pack was asked to do.
struct PackOptions {
    std::string dataPath;
    std::string indexPath;
    std::optional<std::string> fromPath;  // standard input when missing
    TableFormat format = TableFormat::Text;
    bool force = false;
    bool dryRun = false;   // check everything and say what would change, writing nothing
    bool verbose = false;  // say what changed once both files are in place
    bool backup = false;   // keep the replaced pair as NAME.bak beside each target
    CodePage codePage = CodePage::ofSystem();
};

using ParsedPackArguments = std::variant<PackOptions, EarlyExit>;

// Reads quorrel-pack's command line. Help and version text go to `out`, usage errors to `err`.
// --data and --index are required: there is no default, so that the files a game reads are only
// ever replaced when they are named.
ParsedPackArguments parsePackArguments(int argc, const char* const* argv, std::ostream& out,
                                       std::ostream& err);

}  // namespace quorrel::cli
