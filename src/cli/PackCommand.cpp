#include "PackCommand.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

#include "CsvTableReader.h"
#include "ExitStatus.h"
#include "JsonTableReader.h"
#include "PackArguments.h"
#include "TextTableReader.h"
#include "runtime/Failure.h"
#include "runtime/FileReplacement.h"
#include "runtime/InQuotes.h"
#include "runtime/InterruptionsHeld.h"
#include "skills/SkillTableBuilder.h"

namespace quorrel::cli {
namespace {

void readTable(std::istream& in, TableFormat format, SkillTableBuilder& table) {
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

// The list's source as messages name it.
std::string sourceName(const PackOptions& options) {
    return options.fromPath ? inQuotes(*options.fromPath) : std::string("standard input");
}

SkillTableBuilder readListed(std::istream& in, const PackOptions& options) {
    SkillTableBuilder table;
    try {
        readTable(in, options.format, table);
    } catch (const Failure& failure) {
        throw failure.within(sourceName(options));
    } catch (const std::bad_alloc&) {
        throw Failure(FailureKind::OutOfMemory, sourceName(options) + ": out of memory at record " +
                                                    std::to_string(table.nextRecord()));
    }
    if (in.bad()) {
        throw Failure(FailureKind::BadInput, "cannot read " + sourceName(options));
    }
    return table;
}

SkillTableBuilder readList(std::istream& in, const PackOptions& options) {
    if (!options.fromPath) {
        return readListed(in, options);
    }
    const auto& typed = *options.fromPath;
    std::ifstream file(std::filesystem::path(std::u8string(typed.begin(), typed.end())),
                       std::ios::binary);
    if (!file) {
        throw Failure(FailureKind::OpenRefused,
                      "cannot open " + sourceName(options) + ": " + std::strerror(errno));
    }
    return readListed(file, options);
}

void refuseExisting(FileWriter& writer, const TargetPath& target) {
    if (writer.exists(target.local)) {
        throw Failure(FailureKind::WriteError,
                      target.shown + " already exists; --force replaces it");
    }
}

// Two paths for one file would leave it holding only the index, the data lost.
void refuseOneFileTwice(const TargetPath& data, const TargetPath& index) {
    std::error_code error;
    if (data.local == index.local || std::filesystem::equivalent(data.local, index.local, error)) {
        throw Failure(FailureKind::WriteError, "--data " + data.shown + " and --index " +
                                                   index.shown + " are the same file");
    }
}

void pack(const PackOptions& options, std::istream& in, FileWriter& writer) {
    const TargetPath data = writer.locate(options.dataPath);
    const TargetPath index = writer.locate(options.indexPath);
    refuseOneFileTwice(data, index);
    if (!options.force) {
        // Before the list is read, so that a long one is not read in vain.
        refuseExisting(writer, data);
        refuseExisting(writer, index);
    }
    const SkillTableBuilder table = readList(in, options);
    // The index goes last: it says where the records are, so a data file placed without it still
    // leaves the old index reading the old table's places, and the window that no order closes is
    // as short as one rename.
    const std::array<FileContents, 2> files = {FileContents{data, table.files().data},
                                               FileContents{index, table.files().index}};
    const InterruptionsHeld held;
    replaceFiles(writer, files, options.force ? ExistingFiles::Replace : ExistingFiles::Refuse);
}

}  // namespace

int runPackCommand(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                   std::ostream& err, FileWriter& writer) {
    const ParsedPackArguments parsed = parsePackArguments(argc, argv, out, err);
    if (const auto* early = std::get_if<EarlyExit>(&parsed)) {
        return early->status;
    }
    const auto& options = std::get<PackOptions>(parsed);
    if (options.dataPath == options.indexPath) {
        err << kPackProgramName << ": --data and --index name the same file\n";
        return kExitUsageError;
    }
    try {
        pack(options, in, writer);
    } catch (const Failure& failure) {
        err << kPackProgramName << ": " << failure.description() << '\n';
        return kExitFailed;
    }
    return kExitSuccess;
}

}  // namespace quorrel::cli
