#include "DumpArguments.h"

#include <CLI/CLI.hpp>

#include "ExitStatus.h"

namespace quorrel::cli {
namespace {

constexpr const char* kDescription =
    "Prints the skill table of a game client's skills.idx and skills.mul, one skill per item with "
    "its check mark set from the skill's flag byte. Only reads the two files.";

constexpr const char* kFooter =
    "Formats:\n"
    "  text  one line per skill: \"[x] Name\" when checked, \"[ ] Name\" when not\n"
    "  json  one document, indented by two spaces:\n"
    "        {\"skills\": [{\"name\": \"...\", \"checked\": true}, ...], \"error\": null}\n"
    "        on failure \"error\" is {\"kind\": \"...\", \"message\": \"...\"} and \"skills\" "
    "holds\n"
    "        the skills read before it\n"
    "Names are written as UTF-8.\n"
    "\n"
    "Exit status:\n"
    "  0  the table was read in full\n"
    "  1  the load failed (the reason also goes to standard error) or the output could not be\n"
    "     written\n"
    "  2  usage error";

DumpFormat formatNamed(const std::string& name) {
    return name == "json" ? DumpFormat::Json : DumpFormat::Text;
}

}  // namespace

ParsedArguments parseDumpArguments(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err) {
    CLI::App app(kDescription, kProgramName);
    app.set_version_flag("--version", std::string(kProgramName) + " " + QUORREL_VERSION);
    app.footer(kFooter);

    DumpOptions options;
    std::string formatName = "text";
    app.add_option("--data", options.dataPath, "The skill data file (skills.mul)")
        ->capture_default_str();
    app.add_option("--index", options.indexPath, "The skill index file (skills.idx)")
        ->capture_default_str();
    app.add_option("--format", formatName, "Output format: text or json")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // CLI11 reports help and version as "errors" with status 0 and writes them to `out`.
        const int status = app.exit(error, out, err);
        return EarlyExit{status == 0 ? kExitSuccess : kExitUsageError};
    }
    options.format = formatNamed(formatName);
    return options;
}

}  // namespace quorrel::cli
