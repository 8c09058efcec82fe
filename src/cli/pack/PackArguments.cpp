#include "PackArguments.h"

#include "cli/CommandLine.h"

namespace quorrel::cli {
namespace {

constexpr const char* kDescription =
    "Writes a game client's skill table, skills.idx and skills.mul, from a list in any format "
    "quorrel-dump prints, so that a dump, edited, packs back into the two files.";

// The short form; the man page and the README say it all.
constexpr const char* kFooter =
    "Formats, as quorrel-dump writes them:\n"
    "  text  \"[x] Name\" (flag 1) or \"[ ] Name\" (flag 0), one skill a line\n"
    "  json  quorrel-dump's document; \"record\", \"flag\" and \"recordCount\" are kept where\n"
    "        given, and a document whose \"error\" is not null is refused\n"
    "  csv   the header \"record,name,checked,flag\" (or 0.2.0's, without flag), then one\n"
    "        row per index record (RFC 4180); a row with its record alone is an empty slot\n"
    "Lists may be UTF-8, with or without a byte-order mark, or UTF-16 with one. In CSV,\n"
    "checked may be true or false in any case, or 1 or 0, and ; may separate the fields.\n"
    "Names are written in the system's code page or the one --codepage names.\n"
    "Both files are replaced all or nothing; an existing file only with --force.\n"
    "--dry-run prints what the pack would change against the table in place, one line per\n"
    "record that differs, and takes no lock: the table may change before a real run.\n"
    "\n"
    "Example:\n"
    "  quorrel-dump --format json --output table.json\n"
    "  (edit table.json)\n"
    "  quorrel-pack --format json --from table.json --data skills.mul --index skills.idx \\\n"
    "    --force -n\n"
    "  quorrel-pack --format json --from table.json --data skills.mul --index skills.idx \\\n"
    "    --force --backup --verbose\n"
    "\n"
    "Exit status: 0 both files were written (with --dry-run: would be), 1 the list could not\n"
    "be read or the files not written (they are as they were), 2 usage error.\n"
    "\n";

}  // namespace

ParsedPackArguments parsePackArguments(int argc, const char* const* argv, std::ostream& out,
                                       std::ostream& err) {
    CLI::App app(kDescription, kPackProgram);
    useCommonMessages(app, kPackProgram, QUORREL_VERSION, kFooter);

    PackOptions options;
    std::string fromPath;
    std::string formatName = "text";
    app.add_option("--data", options.dataPath, "The skill data file to write (skills.mul)")
        ->required();
    app.add_option("--index", options.indexPath, "The skill index file to write (skills.idx)")
        ->required();
    auto* from =
        app.add_option("--from", fromPath, "The list to read; standard input when left out or -");
    addFormatOption(app, formatName, "Input format: text, json or csv");
    app.add_flag("--force", options.force, "Replace files that exist");
    app.add_flag("-n,--dry-run", options.dryRun,
                 "Check everything and say what would change, by record, writing nothing");
    app.add_flag("-v,--verbose", options.verbose, "Say what changed, once both files are in place");
    app.add_flag("--backup", options.backup,
                 "Keep the files replaced as NAME.bak beside each, replacing earlier ones");
    addCodePageOption(app, options.codePage, "The code page to write the names in");

    SplitArguments split =
        withoutEmptyValues(argc, argv, {"--data", "--index", "--from", "--format"});
    if (!split.emptied.empty()) {
        err << kPackProgram << ": " << *split.emptied.begin()
            << ": an empty value names no file or format\n";
        return EarlyExit{kExitUsageError};
    }
    if (const auto status = parseOrExit(app, std::move(split.kept), out, err, kPackProgram)) {
        return EarlyExit{*status};
    }
    if (from->count() > 0) {
        options.fromPath = fromPath;
    }
    options.format = formatNamed(formatName);
    return options;
}

}  // namespace quorrel::cli
