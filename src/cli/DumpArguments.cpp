#include "DumpArguments.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <string_view>
#include <vector>

#include "ExitStatus.h"

namespace quorrel::cli {
namespace {

constexpr const char* kDescription =
    "Prints the skill table of a game client's skills.idx and skills.mul, one skill per item with "
    "its check mark set from the skill's flag byte. Only reads the two files.";

constexpr const char* kFooter =
    "Formats:\n"
    "  text  one line per skill: \"[x] Name\" when checked, \"[ ] Name\" when not; control\n"
    "        characters and the backslash in a name are escaped (\\n, \\x1b, \\\\), so each\n"
    "        skill is one line\n"
    "  json  one document, indented by two spaces:\n"
    "        {\"skills\": [{\"record\": 0, \"name\": \"...\", \"checked\": true,\n"
    "                     \"flag\": 1}, ...],\n"
    "         \"error\": null}\n"
    "        \"record\" is the skill's index record, counted from 0, \"flag\" its flag byte\n"
    "        (0 to 255, checked when not 0); on failure \"error\" is\n"
    "        {\"kind\": \"...\", \"message\": \"...\"} and \"skills\" holds the skills read before "
    "it\n"
    "  csv   a header \"record,name,checked\", then one row per skill (RFC 4180)\n"
    "Names are written as UTF-8.\n"
    "\n"
    "Paths:\n"
    "  A path that starts with a drive letter, like the defaults, names a file in the Wine\n"
    "  prefix that the game runs in: $WINEPREFIX when it is set, else ~/.wine. Names in it are\n"
    "  matched ignoring case. Other paths are used as they are.\n"
    "\n"
    "Examples:\n"
    "  quorrel-dump\n"
    "      the table the game installed in the Wine prefix\n"
    "  quorrel-dump --data ./skills.mul --index ./skills.idx --format json\n"
    "      two files in this folder, as JSON\n"
    "\n"
    "Exit status:\n"
    "  0  the table was read in full\n"
    "  1  the load failed (the reason also goes to standard error) or the output could not be\n"
    "     written\n"
    "  2  usage error";

DumpFormat formatNamed(const std::string& name) {
    if (name == "json") {
        return DumpFormat::Json;
    }
    return name == "csv" ? DumpFormat::Csv : DumpFormat::Text;
}

// The options taken out of the command line because their value is empty: CLI11 would take the
// argument after "--data=" as its value, or call a last "--data ''" a missing value.
struct EmptyValues {
    bool data = false;
    bool index = false;
    bool format = false;
};

bool takesEmptyValue(std::string_view argument, std::string_view next, std::string_view option,
                     int& skipped) {
    if (argument.size() == option.size() + 1 && argument.starts_with(option) &&
        argument.back() == '=') {
        skipped = 1;
        return true;
    }
    if (argument == option && next.empty()) {
        skipped = 2;
        return true;
    }
    return false;
}

std::vector<std::string> withoutEmptyValues(int argc, const char* const* argv, EmptyValues& empty) {
    std::vector<std::string> kept;
    for (int i = 1; i < argc;) {
        const std::string_view argument = argv[i];
        const std::string_view next = i + 1 < argc ? std::string_view(argv[i + 1]) : "-";
        int skipped = 0;
        if (takesEmptyValue(argument, next, "--data", skipped)) {
            empty.data = true;
        } else if (takesEmptyValue(argument, next, "--index", skipped)) {
            empty.index = true;
        } else if (takesEmptyValue(argument, next, "--format", skipped)) {
            empty.format = true;
        } else {
            kept.emplace_back(argument);
            skipped = 1;
        }
        i += skipped;
    }
    return kept;
}

std::string failureMessage(const CLI::App*, const CLI::Error& error) {
    return std::string(kProgramName) + ": " + error.what() +
           "\nRun with --help for more information.\n";
}

// Help and version text that could not be written is a failure, not a success.
int helpOrVersionStatus(std::ostream& out, std::ostream& err) {
    out.flush();
    if (!out) {
        err << kProgramName << ": cannot write to standard output\n";
        return kExitLoadFailed;
    }
    return kExitSuccess;
}

}  // namespace

ParsedArguments parseDumpArguments(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err) {
    CLI::App app(kDescription, kProgramName);
    app.set_version_flag("--version", std::string(kProgramName) + " " + QUORREL_VERSION);
    app.footer(kFooter);
    app.failure_message(failureMessage);

    DumpOptions options;
    std::string formatName = "text";
    app.add_option("--data", options.dataPath, "The skill data file (skills.mul)")
        ->capture_default_str();
    app.add_option("--index", options.indexPath, "The skill index file (skills.idx)")
        ->capture_default_str();
    app.add_option("--format", formatName, "Output format: text, json or csv")
        ->check(CLI::IsMember({"text", "json", "csv"}))
        ->capture_default_str();

    EmptyValues empty;
    std::vector<std::string> arguments = withoutEmptyValues(argc, argv, empty);
    if (empty.format) {
        err << kProgramName << ": --format: an empty value is not a format (text, json or csv)\n";
        return EarlyExit{kExitUsageError};
    }
    // CLI11 takes the arguments last first.
    std::reverse(arguments.begin(), arguments.end());
    try {
        app.parse(arguments);
    } catch (const CLI::ParseError& error) {
        // CLI11 reports help and version as "errors" with status 0 and writes them to `out`.
        const int status = app.exit(error, out, err);
        return EarlyExit{status == 0 ? helpOrVersionStatus(out, err) : kExitUsageError};
    }
    if (empty.data) {
        options.dataPath.clear();
    }
    if (empty.index) {
        options.indexPath.clear();
    }
    options.format = formatNamed(formatName);
    return options;
}

}  // namespace quorrel::cli
