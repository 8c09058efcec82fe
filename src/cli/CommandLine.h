#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/text/CodePage.h"

namespace quorrel::cli {

// The arguments after the program's name, with every option given an empty value ("--data=" or
// "--data ''") taken out and named in `emptied`: CLI11 would take the argument after "--data=" as
// its value, or call a last "--data ''" a missing value.
struct SplitArguments {
    std::vector<std::string> kept;
    std::set<std::string, std::less<>> emptied;
};

SplitArguments withoutEmptyValues(int argc, const char* const* argv,
                                  std::initializer_list<std::string_view> options);

// Sets up the app's messages in the tools' common form: usage errors as "PROGRAM: reason" and a
// hint to run --help, "--version" giving "PROGRAM VERSION", and --help ending with `footer` and
// where the whole of the program's text stands.
void useCommonMessages(CLI::App& app, const std::string& program, const std::string& version,
                       const std::string& footer);

// Adds --format, which takes the name of one of the table formats ("text", "json" or "csv")
// into `formatName`, whose value beforehand is the default shown; formatNamed turns it into the
// format.
CLI::Option* addFormatOption(CLI::App& app, std::string& formatName,
                             const std::string& description);

// Adds --codepage, which takes the number of a known code page into `codePage`, whose value
// beforehand is the default shown; any other number is a usage error that names the known ones.
CLI::Option* addCodePageOption(CLI::App& app, CodePage& codePage, const std::string& description);

// Parses `arguments` (as withoutEmptyValues keeps them) into the app. Returns the exit status
// when the program should end now: 0 after help or version text (1 when it could not be
// written), 2 after a usage error, whose message has gone to `err`.
std::optional<int> parseOrExit(CLI::App& app, std::vector<std::string> arguments, std::ostream& out,
                               std::ostream& err, const std::string& program);

}  // namespace quorrel::cli
