#include "DumpCommand.h"

#include "DumpArguments.h"
#include "DumpLoad.h"
#include "cli/formats/CsvWriter.h"
#include "cli/formats/JsonWriter.h"
#include "cli/formats/TextWriter.h"
#include "runtime/Failure.h"
#include "runtime/InterruptedRuns.h"
#include "runtime/NativeFileWriter.h"

namespace quorrel::cli {
namespace {

// The files an interrupted quorrel-pack kept beside the two, said, so that the table they may
// hold alone is not lost unnoticed. The writer only finds the files a pack of these paths would
// write, and asks whether a run holds their locks; nothing is written. A live run's backups are
// its own, and putting them back would undo a table it then puts in place.
void reportKeptFiles(const DumpOptions& options, std::ostream& err) {
    NativeFileWriter finder;
    std::vector<TargetPath> targets;
    for (const std::string& path : {options.dataPath, options.indexPath}) {
        try {
            targets.push_back(finder.locate(path));
        } catch (const Failure&) {
            // A path that leads nowhere has nothing beside it; the load says why.
        }
    }
    if (const auto live = runInProgress(finder, targets)) {
        err << kDumpProgram << ": "
            << (live->second == LockState::Held
                    ? "a quorrel-pack run is writing " + live->first.shown +
                          " now; the files it keeps beside it are its own"
                    : "cannot tell whether a quorrel-pack run is writing " + live->first.shown +
                          " now (its lock cannot be opened), so the files beside it are not "
                          "reported")
            << '\n';
        return;
    }
    const LeftBeside left = findKeptFiles(targets);
    for (const UnexpectedFile& unexpected : left.unexpected) {
        err << kDumpProgram << ": " << describeUnexpected(unexpected) << '\n';
    }
    for (const KeptFiles& kept : left.kept) {
        err << kDumpProgram << ": " << describeKeptFiles(kept, true) << '\n';
    }
}

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

    const SkillDump dump = loadDump(options.dataPath, options.indexPath, options.codePage, files);
    writeDump(out, dump, options.format);
    // The items go out before the reason they stop, so a terminal shows them in that order.
    out.flush();
    if (!out) {
        err << kDumpProgram << ": cannot write to standard output\n";
        return kExitFailed;
    }
    reportKeptFiles(options, err);
    if (dump.failure) {
        err << kDumpProgram << ": " << dump.failure->description() << '\n';
        return kExitFailed;
    }
    return kExitSuccess;
}

}  // namespace quorrel::cli
