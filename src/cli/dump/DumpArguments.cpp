#include "DumpArguments.h"

#include "cli/CommandLine.h"
#include "cli/StandardStreamName.h"

namespace quorrel::cli {
namespace {

constexpr const char* kDescription =
    "Prints the skill table of a game client's skills.idx and skills.mul, one skill per item with "
    "its check mark set from the skill's flag byte. Only reads the two files.";

// The short form; the man page and the README say it all.
constexpr const char* kFooter =
    "Formats:\n"
    "  text  \"[x] Name\" or \"[ ] Name\", one skill a line, control characters escaped\n"
    "  json  {\"skills\": [{\"record\", \"name\", \"checked\", \"flag\"}, ...],\n"
    "         \"recordCount\", \"error\"}\n"
    "  csv   the header \"record,name,checked,flag\", then one row per index record\n"
    "        (RFC 4180); an empty slot's row holds its record alone\n"
    "Names are written as UTF-8, read in the system's code page or the one --codepage names.\n"
    "Where packing the output back would not give the same files (text leaves out empty slots\n"
    "and flags other than 0 and 1), a line on standard error says what and why.\n"
    "Off Windows, a path with a drive letter, like the defaults, names a file in the Wine prefix\n"
    "($WINEPREFIX, else ~/.wine).\n"
    "\n"
    "Exit status: 0 the table was read in full, 1 the load failed or the output could not be\n"
    "written, 2 usage error.\n"
    "\n";

}  // namespace

ParsedArguments parseDumpArguments(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err) {
    CLI::App app(kDescription, kDumpProgram);
    useCommonMessages(app, kDumpProgram, QUORREL_VERSION, kFooter);

    DumpOptions options;
    std::string formatName = "text";
    app.add_option("--data", options.dataPath, "The skill data file (skills.mul)")
        ->capture_default_str();
    app.add_option("--index", options.indexPath, "The skill index file (skills.idx)")
        ->capture_default_str();
    addFormatOption(app, formatName, "Output format: text, json or csv");
    addCodePageOption(app, options.codePage, "The code page the names are stored in");
    std::string outputPath;
    auto* output = app.add_option("--output", outputPath,
                                  "The file to write, replaced whole once the table was read in "
                                  "full; standard output when left out, - or /dev/stdout");
    app.add_flag("--bom", options.byteOrderMark,
                 "Start the output with a UTF-8 byte-order mark, so that spreadsheets open a CSV "
                 "as UTF-8");

    SplitArguments split =
        withoutEmptyValues(argc, argv, {"--data", "--index", "--format", "--output"});
    if (split.emptied.contains("--format")) {
        err << kDumpProgram << ": --format: an empty value is not a format (text, json or csv)\n";
        return EarlyExit{kExitUsageError};
    }
    if (split.emptied.contains("--output")) {
        err << kDumpProgram << ": --output: an empty value names no file\n";
        return EarlyExit{kExitUsageError};
    }
    if (const auto status = parseOrExit(app, std::move(split.kept), out, err, kDumpProgram)) {
        return EarlyExit{*status};
    }
    if (split.emptied.contains("--data")) {
        options.dataPath.clear();
    }
    if (split.emptied.contains("--index")) {
        options.indexPath.clear();
    }
    if (output->count() > 0 && !namesStandardOutput(outputPath)) {
        options.outputPath = outputPath;
    }
    options.format = formatNamed(formatName);
    return options;
}

}  // namespace quorrel::cli
