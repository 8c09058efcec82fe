#include "PackCommand.h"

#include <array>
#include <istream>
#include <optional>

#include "PackArguments.h"
#include "TableChanges.h"
#include "TableInPlace.h"
#include "cli/KeptFilesReport.h"
#include "cli/StandardStreamName.h"
#include "cli/formats/ListInput.h"
#include "cli/formats/ListReaders.h"
#include "runtime/base/OutOfMemory.h"
#include "runtime/files/FileInput.h"
#include "runtime/paths/PathResolver.h"
#include "runtime/system/InterruptionsHeld.h"
#include "skills/BakSwap.h"
#include "skills/SkillTableBuilder.h"
#include "skills/TableSwap.h"

namespace quorrel::cli {
namespace {

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
// Memory running out is said where the reader stood; a source that cannot be read, as such.
SkillTableBuilder tableFromStream(std::istream& in, const PackOptions& options) {
    SkillTableBuilder table(options.codePage);
    try {
        failingWhenMemoryRunsOut([&] {
            ListInput list(in);
            try {
                readListInFormat(list.stream(), options.format, table);
            } catch (const Failure&) {
                table.finish(false);
                throw;
            }
            table.finish();
        });
    } catch (const Failure& failure) {
        // A named list that cannot be read says so itself, naming the file.
        if (failure.kind() == FailureKind::ReadError) {
            throw;
        }
        throw failure.within(sourceName(options));
    } catch (const ListUnreadable& unreadable) {
        throw Failure(FailureKind::ReadError,
                      "cannot read " + sourceName(options) + ": " + unreadable.what());
    }
    if (in.bad()) {
        throw Failure(FailureKind::ReadError, "cannot read " + sourceName(options));
    }
    return table;
}

// The table of the list from --from, the file `from`, or from `standardInput` when it is left out
// or "-".
SkillTableBuilder tableFromSource(std::istream& standardInput, const PackOptions& options,
                                  const std::optional<LocalPath>& from, FileSystem& fileSystem) {
    if (!from) {
        return tableFromStream(standardInput, options);
    }
    // A folder opens as a file does and fails only at its first read, with the system's words:
    // said as a folder on standard input is.
    if (fileSystem.statusOf(from->local).kind == FileKind::Folder) {
        throw Failure(FailureKind::ReadError,
                      "cannot read " + sourceName(options) + ": " + ListUnreadable::kFolder);
    }
    FileInput file(fileSystem, *from);
    return tableFromStream(file, options);
}

void printChanges(std::ostream& out, const TableChanges& changes, Tense tense) {
    for (const std::string& line : changes.lines(tense)) {
        out << line << '\n';
    }
    out << std::flush;
}

// Writes the table of the list to the targets, all or nothing, the targets looked at before the
// list is read, so that a long one is not read in vain. A dry run stops after those checks and
// the list, and says what the run would change.
void pack(const PackOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
          FileSystem& fileSystem) {
    PathResolver resolver(fileSystem);
    const LocalPath data = resolver.resolveForWriting(options.dataPath);
    const LocalPath index = resolver.resolveForWriting(options.indexPath);
    const auto say = [&](const std::string& line) { err << kPackProgram << ": " << line << '\n'; };
    std::optional<SkillTableBuilder> table;
    ReplacementSteps steps;
    // "--from -" is standard input, whatever file a target named "-" is. A drive-letter path is
    // looked up in the Wine prefix, as the targets are.
    std::optional<LocalPath> from;
    if (!fromStandardInput(options)) {
        from = resolver.resolve(*options.fromPath);
        from->windowsName = from->windowsName || data.windowsName;
        steps.reads.push_back({"--from", *from});
    }
    steps.toReplaceExisting = options.force ? "" : "--force";
    steps.waiting = [&](const LocalPath& target) {
        err << kPackProgram << ": waiting for another quorrel-pack writing " << target.quoted()
            << " to finish\n"
            << std::flush;
    };
    steps.left = [&](const LeftBeside& left) {
        for (const UnexpectedFile& unexpected : left.unexpected) {
            say(describeUnexpected(unexpected));
        }
        for (const KeptFiles& kept : left.kept) {
            say(describeKeptFiles(kept, false));
        }
    };
    if (options.backup) {
        steps.keepOldAsBak = [](std::vector<OldFile> earlierBaks, std::vector<OldFile> old) {
            return std::make_unique<BakSwap>(std::move(earlierBaks), std::move(old));
        };
    }
    steps.largestOldFile = TableSwap::kLargestPaddedFile;
    // The replacement as the versions see it, under its locks, for the table it replaces.
    const TargetReplacement* looked = nullptr;
    std::optional<TableInPlace> replaced;
    steps.versions = [&](std::vector<OldFile> old) {
        // Under the locks: the table this run replaces.
        if (options.verbose) {
            replaced = readTableInPlace(fileSystem, looked->targets(), options.codePage);
        }
        return std::make_unique<TableSwap>(table->files(), std::move(old[TableSwap::kData]),
                                           old[TableSwap::kIndex]);
    };
    TargetReplacement replacement(fileSystem, {{"--data", data}, {"--index", index}},
                                  std::move(steps));
    looked = &replacement;
    table.emplace(tableFromSource(in, options, from, fileSystem));
    if (options.dryRun) {
        // No lock: a dry run changes nothing, and must not keep a real run waiting. What stopped
        // runs left is said as quorrel-dump says it, for the files as they are now.
        sayStoppedRuns(err, kPackProgram, whatStoppedRunsLeft(fileSystem, {data, index}));
        printChanges(
            out,
            TableChanges(readTableInPlace(fileSystem, replacement.targets(), options.codePage),
                         table->files(), options.codePage),
            Tense::Coming);
        return;
    }
    for (const std::string& note : replacement.replace()) {
        say(note);
    }
    if (replaced) {
        printChanges(out, TableChanges(*replaced, table->files(), options.codePage), Tense::Done);
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
