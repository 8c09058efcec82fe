#include "DumpArguments.h"

#include "cli/CommandLine.h"

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
    "         \"recordCount\": 1, \"error\": null}\n"
    "        \"record\" is the skill's index record, counted from 0, \"flag\" its flag byte\n"
    "        (0 to 255, checked when not 0), \"recordCount\" the index's records, empty slots\n"
    "        included; on failure \"error\" is\n"
    "        {\"kind\": \"...\", \"message\": \"...\"} and \"skills\" holds the skills read before "
    "it\n"
    "  csv   a header \"record,name,checked\", then one row per skill (RFC 4180)\n"
    "Names are written as UTF-8.\n"
    "\n"
    "Code page:\n"
    "  The files hold names as 8-bit text in a Windows code page. They are read in the system's:\n"
    "  on Windows its ANSI code page, elsewhere the one Windows programs get under Wine for the\n"
    "  locale in LC_ALL, LC_CTYPE or LANG (ru_RU.UTF-8 gives 1251, ja_JP.UTF-8 932, C and most\n"
    "  others 1252). --codepage chooses another, for a table written on another system.\n"
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

}  // namespace

ParsedArguments parseDumpArguments(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err) {
    CLI::App app(kDescription, kDumpProgram);
    useCommonMessages(app, kDumpProgram, QUORREL_VERSION);
    app.footer(kFooter);

    DumpOptions options;
    std::string formatName = "text";
    app.add_option("--data", options.dataPath, "The skill data file (skills.mul)")
        ->capture_default_str();
    app.add_option("--index", options.indexPath, "The skill index file (skills.idx)")
        ->capture_default_str();
    addFormatOption(app, formatName, "Output format: text, json or csv");
    addCodePageOption(app, options.codePage, "The code page the names are stored in");

    SplitArguments split = withoutEmptyValues(argc, argv, {"--data", "--index", "--format"});
    if (split.emptied.contains("--format")) {
        err << kDumpProgram << ": --format: an empty value is not a format (text, json or csv)\n";
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
    options.format = formatNamed(formatName);
    return options;
}

}  // namespace quorrel::cli
