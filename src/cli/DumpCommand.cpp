#include "DumpCommand.h"

#include "CsvFormat.h"
#include "DumpArguments.h"
#include "ExitStatus.h"
#include "JsonFormat.h"
#include "SkillDump.h"
#include "TextFormat.h"

namespace quorrel::cli {
namespace {

void writeDump(std::ostream& out, const SkillDump& dump, TableFormat format) {
    switch (format) {
        case TableFormat::Text:
            writeSkillsAsText(out, dump.skills);
            return;
        case TableFormat::Json:
            writeSkillsAsJson(out, dump);
            return;
        case TableFormat::Csv:
            writeSkillsAsCsv(out, dump.skills);
            return;
    }
}

}  // namespace

int runDumpCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    FileTable files;
    return runDumpCommand(argc, argv, out, err, files);
}

int runDumpCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   FileTable& files) {
    const ParsedArguments parsed = parseDumpArguments(argc, argv, out, err);
    if (const auto* early = std::get_if<EarlyExit>(&parsed)) {
        return early->status;
    }
    const auto& options = std::get<DumpOptions>(parsed);

    const SkillDump dump = dumpSkills(options.dataPath, options.indexPath, files);
    writeDump(out, dump, options.format);
    // The items go out before the reason they stop, so a terminal shows them in that order.
    out.flush();
    if (!out) {
        err << kProgramName << ": cannot write to standard output\n";
        return kExitLoadFailed;
    }
    if (dump.failure) {
        err << kProgramName << ": " << dump.failure->description() << '\n';
        return kExitLoadFailed;
    }
    return kExitSuccess;
}

}  // namespace quorrel::cli
