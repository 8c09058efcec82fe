#include "PackArguments.h"

#include "cli/CommandLine.h"

namespace quorrel::cli {
namespace {

constexpr const char* kDescription =
    "Writes a game client's skill table, skills.idx and skills.mul, from a list in any format "
    "quorrel-dump prints, so that a dump, edited, packs back into the two files.";

constexpr const char* kFooter =
    "Formats (as quorrel-dump writes them):\n"
    "  text  \"[x] Name\" or \"[ ] Name\" per line, with quorrel-dump's escapes; flag 1 or 0\n"
    "  json  {\"skills\": [{\"record\": 0, \"name\": \"...\", \"checked\": true, \"flag\": 1},\n"
    "        ...], \"error\": null}; \"record\" and \"flag\" are kept where given, skipped\n"
    "        record numbers become empty slots; a document whose \"error\" is not null is the\n"
    "        partial dump of a failed load and is refused\n"
    "  csv   the header \"record,name,checked\", then one row per skill (RFC 4180)\n"
    "Names are UTF-8 and are written in the code page quorrel-dump reads them in: the system's\n"
    "(on Windows its ANSI code page, elsewhere the one Windows programs get under Wine for the\n"
    "locale), or the one --codepage names. A name the code page cannot hold is an error, never\n"
    "written with a substitute.\n"
    "\n"
    "Writing:\n"
    "  Both files are written to temporary files beside them, flushed to disk, and only then\n"
    "  renamed into place, the data file first and the index last; when anything fails, the\n"
    "  old files stay as they were. An existing file is replaced only with --force. Paths with\n"
    "  a drive letter lead into the Wine prefix, as quorrel-dump reads them.\n"
    "\n"
    "Example:\n"
    "  quorrel-dump --format json > table.json\n"
    "  (edit table.json)\n"
    "  quorrel-pack --format json --from table.json --data skills.mul --index skills.idx --force\n"
    "\n"
    "Exit status:\n"
    "  0  both files were written\n"
    "  1  the list could not be read or written (the reason goes to standard error); the files\n"
    "     are as they were\n"
    "  2  usage error";

}  // namespace

ParsedPackArguments parsePackArguments(int argc, const char* const* argv, std::ostream& out,
                                       std::ostream& err) {
    CLI::App app(kDescription, kPackProgram);
    useCommonMessages(app, kPackProgram, QUORREL_VERSION);
    app.footer(kFooter);

    PackOptions options;
    std::string fromPath;
    std::string formatName = "text";
    app.add_option("--data", options.dataPath, "The skill data file to write (skills.mul)")
        ->required();
    app.add_option("--index", options.indexPath, "The skill index file to write (skills.idx)")
        ->required();
    auto* from =
        app.add_option("--from", fromPath, "The list to read; standard input when left out");
    addFormatOption(app, formatName, "Input format: text, json or csv");
    app.add_flag("--force", options.force, "Replace files that exist");
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
