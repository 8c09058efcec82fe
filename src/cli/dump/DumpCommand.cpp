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
#include "runtime/replace/SideNames.h"
#include "runtime/replace/TargetReplacement.h"
#include "runtime/system/InterruptionsHeld.h"

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
    sayStoppedRuns(err, kDumpProgram, whatStoppedRunsLeft(fileSystem, std::move(paths)));
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
    // A lock, or a kept backup that may hold an old table's only copy, is quorrel-pack's.
    refuseSideName(target.path);
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
// said. A request to stop meanwhile leaves the file as it was, and nothing beside it.
bool writeOutputFile(const LocalPath& target, const SkillDump& dump, const DumpOptions& options,
                     FileSystem& fileSystem, std::ostream& err) {
    const auto say = [&](const std::string& line) { err << kDumpProgram << ": " << line << '\n'; };
    try {
        const InterruptionsHeld held;
        OutputFile file(fileSystem, target, [&](const LocalPath& locked) {
            err << kDumpProgram << ": waiting for another run writing " << locked.quoted()
                << " to finish\n"
                << std::flush;
        });
        for (const UnexpectedFile& unexpected : file.leftBeside().unexpected) {
            say(describeUnexpected(unexpected));
        }
        for (const KeptFiles& kept : file.leftBeside().kept) {
            say(describeKeptFiles(kept, true));
        }
        writeDump(file.stream(), dump, options);
        if (const auto notKept = file.commit()) {
            say(*notKept);
        }
        // main then ends the program as the request would have ended it.
        if (const auto request = interruptionRequested()) {
            say("stopped by " + *request + " once " + target.quoted() + " was in place");
        }
        return true;
    } catch (const Failure& failure) {
        say(failure.description() + "; " + target.quoted() + " is as it was");
    } catch (const Interrupted&) {
        say("stopped by " + interruptionRequested().value_or("request") + "; " + target.quoted() +
            " is as it was");
    }
    return false;
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
