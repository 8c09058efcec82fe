#include "DumpCommand.h"

#include <array>
#include <utility>

#include "DumpArguments.h"
#include "DumpLoad.h"
#include "DumpNotices.h"
#include "cli/KeptFilesReport.h"
#include "cli/formats/CsvWriter.h"
#include "cli/formats/JsonWriter.h"
#include "cli/formats/TextWriter.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/files/FileSystem.h"
#include "runtime/filetable/FileTable.h"
#include "runtime/paths/PathResolver.h"
#include "runtime/replace/LookedAt.h"
#include "runtime/replace/OutputFile.h"
#include "runtime/replace/TargetReplacement.h"

namespace quorrel::cli {
namespace {

// The files an interrupted quorrel-pack kept beside the two, said, so that the table they may
// hold alone is not lost unnoticed. It only finds the files a pack of these paths would
// write, and asks whether a run holds their locks; nothing is written. A live run's backups are
// its own, and putting them back would undo a table it then puts in place.
void reportKeptFiles(const DumpOptions& options, std::ostream& err, FileSystem& fileSystem) {
    PathResolver resolver(fileSystem);
    std::vector<LocalPath> paths;
    for (const std::string& path : {options.dataPath, options.indexPath}) {
        try {
            paths.push_back(resolver.resolveForWriting(path));
        } catch (const Failure&) {
            // A path that leads nowhere has nothing beside it; the load says why.
        }
    }
    const StoppedRunsReport report = whatStoppedRunsLeft(fileSystem, std::move(paths));
    if (const auto& live = report.live) {
        err << kDumpProgram << ": "
            << (live->second == LockState::Held
                    ? "a quorrel-pack run is writing " + live->first.quoted() +
                          " now; the files it keeps beside it are its own"
                    : "cannot tell whether a quorrel-pack run is writing " + live->first.quoted() +
                          " now (its lock cannot be opened), so the files beside it are not "
                          "reported")
            << '\n';
        return;
    }
    for (const UnexpectedFile& unexpected : report.left.unexpected) {
        err << kDumpProgram << ": " << describeUnexpected(unexpected) << '\n';
    }
    for (const KeptFiles& kept : report.left.kept) {
        err << kDumpProgram << ": " << describeKeptFiles(kept, true) << '\n';
    }
}

void writeDump(std::ostream& out, const SkillDump& dump, const DumpOptions& options) {
    if (options.byteOrderMark) {
        out << kUtf8ByteOrderMark;
    }
    switch (options.format) {
        case TableFormat::Text:
            writeSkillsAsText(out, dump.skills);
            return;
        case TableFormat::Json:
            writeSkillsAsJson(out, dump);
            return;
        case TableFormat::Csv:
            writeSkillsAsCsv(out, dump);
            return;
    }
}

// The file --output names, looked at before the table is read: it must be a regular file or a
// new name in an existing folder, and neither of the two files the table is read from, which the
// output would replace.
std::optional<LocalPath> outputTarget(const DumpOptions& options, FileSystem& fileSystem) {
    if (!options.outputPath) {
        return std::nullopt;
    }
    PathResolver resolver(fileSystem);
    const LookedAt target =
        lookAtTarget(fileSystem, resolver.resolveForWriting(*options.outputPath));
    const std::array<std::pair<const char*, const std::string*>, 2> read = {
        {{"--data", &options.dataPath}, {"--index", &options.indexPath}}};
    for (const auto& [option, path] : read) {
        std::optional<LocalPath> source;
        try {
            source = resolver.resolveForWriting(*path);
        } catch (const Failure&) {
            // A path that leads nowhere is no file the output could replace; the load says why.
        }
        if (source) {
            refuseOneFileTwice({"--output", target}, {option, lookAt(fileSystem, *source)});
        }
    }
    return target.path;
}

// Writes the dump to the file, put in place whole; false when it could not be, with the reason
// said.
bool writeOutputFile(const LocalPath& target, const SkillDump& dump, const DumpOptions& options,
                     FileSystem& fileSystem, std::ostream& err) {
    try {
        OutputFile file(fileSystem, target);
        writeDump(file.stream(), dump, options);
        file.commit();
        return true;
    } catch (const Failure& failure) {
        err << kDumpProgram << ": " << failure.description() << "; " << target.quoted()
            << " is as it was\n";
        return false;
    }
}

// Says what a pack of the output would not give back as it stands.
void tellWhatPackingWouldChange(const SkillDump& dump, const DumpOptions& options,
                                std::ostream& err) {
    const auto textLoss =
        options.format == TableFormat::Text ? whatTextLeavesOut(dump) : std::nullopt;
    for (const auto& notice : {textLoss, namesWrittenBackOtherwise(dump, options.codePage)}) {
        if (notice) {
            err << kDumpProgram << ": " << *notice << '\n';
        }
    }
}

}  // namespace

int runDumpCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   FileSystem& fileSystem) {
    const ParsedArguments parsed = parseDumpArguments(argc, argv, out, err);
    if (const auto* early = std::get_if<EarlyExit>(&parsed)) {
        return early->status;
    }
    const auto& options = std::get<DumpOptions>(parsed);
    std::optional<LocalPath> output;
    try {
        output = outputTarget(options, fileSystem);
    } catch (const Failure& failure) {
        err << kDumpProgram << ": " << failure.description() << '\n';
        return kExitFailed;
    }

    FileTable files(fileSystem);
    const SkillDump dump = loadDump(options.dataPath, options.indexPath, options.codePage, files);
    if (!output) {
        writeDump(out, dump, options);
        // The items go out before the reason they stop, so a terminal shows them in that order.
        out.flush();
        if (!out) {
            err << kDumpProgram << ": cannot write to standard output\n";
            return kExitFailed;
        }
    } else if (!dump.failure && !writeOutputFile(*output, dump, options, fileSystem, err)) {
        return kExitFailed;
    }
    tellWhatPackingWouldChange(dump, options, err);
    reportKeptFiles(options, err, fileSystem);
    if (dump.failure) {
        err << kDumpProgram << ": " << dump.failure->description() << '\n';
        // A table read in part does not replace a file that may hold a whole one.
        if (output) {
            err << kDumpProgram << ": " << output->quoted()
                << " was not written, as the table was not read in full\n";
        }
        return kExitFailed;
    }
    return kExitSuccess;
}

}  // namespace quorrel::cli
