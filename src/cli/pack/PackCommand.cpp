#include "PackCommand.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "PackArguments.h"
#include "TableChanges.h"
#include "TableInPlace.h"
#include "cli/KeptFilesReport.h"
#include "cli/SameFileRefusal.h"
#include "cli/StandardStreamName.h"
#include "cli/formats/CsvReader.h"
#include "cli/formats/JsonReader.h"
#include "cli/formats/ListInput.h"
#include "cli/formats/TextReader.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/base/OutOfMemory.h"
#include "runtime/files/FileSystem.h"
#include "runtime/files/PathParts.h"
#include "runtime/files/SystemPath.h"
#include "runtime/paths/PathResolver.h"
#include "runtime/replace/BakFiles.h"
#include "runtime/replace/FileReplacement.h"
#include "runtime/replace/InterruptedRuns.h"
#include "runtime/replace/LookedAt.h"
#include "runtime/replace/SideNames.h"
#include "runtime/replace/TargetLocks.h"
#include "runtime/system/InterruptionsHeld.h"
#include "skills/SkillTableBuilder.h"
#include "skills/TableSwap.h"

namespace quorrel::cli {
namespace {

// Reads the list in `format` into the table.
void readInFormat(std::istream& in, TableFormat format, SkillTableBuilder& table) {
    switch (format) {
        case TableFormat::Text:
            readTextTable(in, table);
            return;
        case TableFormat::Json:
            readJsonTable(in, table);
            return;
        case TableFormat::Csv:
            readCsvTable(in, table);
            return;
    }
}

// "--from -" names standard input, as it does to most programs.
bool fromStandardInput(const PackOptions& options) {
    return !options.fromPath || *options.fromPath == kStandardStream;
}

// The list's source as messages name it.
std::string sourceName(const PackOptions& options) {
    return fromStandardInput(options) ? std::string("standard input") : inQuotes(*options.fromPath);
}

// The table of the list in one stream, in UTF-8 or UTF-16 as ListInput takes it, its failures
// named after the list's source. A name the code page cannot hold is reported once the list has
// been read, with the code page that holds them all; any failure before that, with the first.
SkillTableBuilder tableFromStream(std::istream& in, const PackOptions& options) {
    SkillTableBuilder table(options.codePage);
    try {
        failingWhenMemoryRunsOut(
            [&] {
                ListInput list(in);
                try {
                    readInFormat(list.stream(), options.format, table);
                } catch (const Failure&) {
                    table.finish(false);
                    throw;
                }
                table.finish();
            },
            [&] { return "record " + std::to_string(table.nextRecord()); });
    } catch (const Failure& failure) {
        throw failure.within(sourceName(options));
    }
    if (in.bad()) {
        throw Failure(FailureKind::BadInput, "cannot read " + sourceName(options));
    }
    return table;
}

// The table of the list from --from, or from `standardInput` when it is left out or "-".
SkillTableBuilder tableFromSource(std::istream& standardInput, const PackOptions& options) {
    if (fromStandardInput(options)) {
        return tableFromStream(standardInput, options);
    }
    std::ifstream file(systemPath(*options.fromPath), std::ios::binary);
    if (!file) {
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + sourceName(options) + ": " + std::strerror(errno));
    }
    return tableFromStream(file, options);
}

void refuseExisting(const LookedAt& target) {
    if (target.file) {
        throw Failure(FailureKind::WriteError,
                      target.path.quoted() + " already exists; --force replaces it");
    }
}

// A target named as a hidden file of a run, say the other target's lock, would be removed with
// it, or taken for it.
void refuseSideName(const LocalPath& target) {
    if (const auto side = sideNameOf(nameOf(target.local), target.windowsName)) {
        const char* what = side->kind == SideKind::Lock        ? "lock"
                           : side->kind == SideKind::Temporary ? "temporary file"
                                                               : "backup";
        throw Failure(FailureKind::WriteError, "cannot write " + target.quoted() +
                                                   ": it is named as quorrel-pack's own " + what +
                                                   " beside " + inQuotes(side->stem) +
                                                   ", and such a name is never a target");
    }
}

// The two targets looked at, and refused when writing them would lose something: what is there
// is no regular file (lookAtTarget), the two are one file (it would end up holding the index
// alone), a target is named as a hidden file of a run, the list read is one of them (it would be
// read, then replaced), or, without --force, a file is there already. "--from -" is standard
// input, whatever file a target named "-" is.
std::array<LookedAt, 2> lookAtTargets(FileSystem& fileSystem, const std::array<LocalPath, 2>& paths,
                                      const PackOptions& options) {
    std::array<LookedAt, 2> targets = {lookAtTarget(fileSystem, paths[TableSwap::kData]),
                                       lookAtTarget(fileSystem, paths[TableSwap::kIndex])};
    const GivenPath data{"--data", targets[TableSwap::kData]};
    const GivenPath index{"--index", targets[TableSwap::kIndex]};
    refuseOneFileTwice(data, index);
    refuseSideName(data.looked.path);
    refuseSideName(index.looked.path);
    std::vector<LookedAt> given(targets.begin(), targets.end());
    if (!fromStandardInput(options)) {
        const LookedAt& list = given.emplace_back(lookAt(
            fileSystem, LocalPath{*options.fromPath, *options.fromPath, paths[0].windowsName}));
        refuseOneFileTwice({"--from", list}, data);
        refuseOneFileTwice({"--from", list}, index);
    }
    if (!options.force) {
        refuseExisting(data.looked);
        refuseExisting(index.looked);
    }
    if (options.backup) {
        // Each target's .bak is checked against the paths given but the target itself.
        for (std::size_t target = 0; target < targets.size(); ++target) {
            std::vector<LookedAt> others = given;
            others.erase(others.begin() + static_cast<std::ptrdiff_t>(target));
            refuseBakFile(fileSystem, targets[target], others);
        }
    }
    return targets;
}

// The old file as the swap needs it. One that cannot be read (no permission, say) is still
// replaced, only without the padded order, which needs its bytes.
OldFile oldFile(FileSystem& fileSystem, const LookedAt& target) {
    if (!target.file) {
        return {};
    }
    try {
        return {true, fileSystem.readWholeFile(target.path, TableSwap::kLargestPaddedFile)};
    } catch (const Failure&) {
        return {true, std::nullopt};
    }
}

void say(std::ostream& out, const TableChanges& changes, Tense tense) {
    for (const std::string& line : changes.lines(tense)) {
        out << line << '\n';
    }
    out << std::flush;
}

void pack(const PackOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
          FileSystem& fileSystem) {
    PathResolver resolver(fileSystem);
    const std::array<LocalPath, 2> paths = {resolver.resolveForWriting(options.dataPath),
                                            resolver.resolveForWriting(options.indexPath)};
    // Before the list is read, so that a long one is not read in vain.
    const std::array<LookedAt, 2> before = lookAtTargets(fileSystem, paths, options);
    const SkillTableBuilder table = tableFromSource(in, options);
    if (options.dryRun) {
        // No lock: a dry run changes nothing, and must not keep a real run waiting.
        say(out,
            TableChanges(readTableInPlace(fileSystem, before, options.codePage), table.files(),
                         options.codePage),
            Tense::Coming);
        return;
    }

    // From here on a request to stop waits until the run has finished, or undone, what it is
    // doing, and let go of its locks; waiting for a lock gives way to it.
    const InterruptionsHeld held;
    const TargetLocks locks(fileSystem, before, [&](const LocalPath& target) {
        err << kPackProgram << ": waiting for another quorrel-pack writing " << target.quoted()
            << " to finish\n"
            << std::flush;
    });
    // Looked at again, now that no other run can change them: the files may have changed while
    // the list was read, and what is there now is what this run replaces.
    const std::array<LookedAt, 2> targets = lookAtTargets(fileSystem, paths, options);
    const LeftBeside left = tidyAfterInterruptedRuns(fileSystem, targets);
    for (const UnexpectedFile& unexpected : left.unexpected) {
        err << kPackProgram << ": " << describeUnexpected(unexpected) << '\n';
    }
    for (const KeptFiles& kept : left.kept) {
        err << kPackProgram << ": " << describeKeptFiles(kept, false) << '\n';
    }
    const std::optional<TableInPlace> replaced =
        options.verbose ? std::optional(readTableInPlace(fileSystem, targets, options.codePage))
                        : std::nullopt;
    std::vector<LocalPath> keptAs;
    if (options.backup) {
        keptAs = {bakPathOf(targets[TableSwap::kData].path),
                  bakPathOf(targets[TableSwap::kIndex].path)};
    }
    const TableSwap swap(table.files(), oldFile(fileSystem, targets[TableSwap::kData]),
                         oldFile(fileSystem, targets[TableSwap::kIndex]));
    for (const std::string& note : replaceFiles(fileSystem, targets, swap.versions(), keptAs)) {
        err << kPackProgram << ": " << note << '\n';
    }
    if (replaced) {
        say(out, TableChanges(*replaced, table.files(), options.codePage), Tense::Done);
    }
}

}  // namespace

int runPackCommand(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                   std::ostream& err, FileSystem& fileSystem) {
    const ParsedPackArguments parsed = parsePackArguments(argc, argv, out, err);
    if (const auto* early = std::get_if<EarlyExit>(&parsed)) {
        return early->status;
    }
    try {
        pack(std::get<PackOptions>(parsed), in, out, err, fileSystem);
    } catch (const Failure& failure) {
        err << kPackProgram << ": " << failure.description() << '\n';
        return kExitFailed;
    } catch (const Interrupted&) {
        err << kPackProgram << ": stopped by " << interruptionRequested().value_or("request")
            << " before any file was replaced; the files are as they were\n";
        return kExitFailed;
    }
    // main then ends the program as the request would have ended it.
    if (const auto request = interruptionRequested()) {
        err << kPackProgram << ": stopped by " << *request << " once the new files were in place\n";
    }
    return kExitSuccess;
}

}  // namespace quorrel::cli
