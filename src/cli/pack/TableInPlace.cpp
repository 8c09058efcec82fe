#include "TableInPlace.h"

#include "cli/dump/DumpLoad.h"
#include "runtime/base/Failure.h"
#include "runtime/filetable/FileTable.h"
#include "skills/TableSwap.h"

namespace quorrel::cli {
namespace {

// The bytes of the file, or nothing when it is larger than a pack holds of an old file, or
// cannot be read.
std::optional<std::vector<std::uint8_t>> bytesOf(FileSystem& fileSystem, const LookedAt& target) {
    if (!target.file) {
        return std::vector<std::uint8_t>{};
    }
    try {
        return fileSystem.readWholeFile(target.path, TableSwap::kLargestPaddedFile);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

}  // namespace

TableInPlace readTableInPlace(FileSystem& fileSystem, std::span<const LookedAt> targets,
                              CodePage codePage) {
    const LookedAt& data = targets[TableSwap::kData];
    const LookedAt& index = targets[TableSwap::kIndex];
    TableInPlace table;
    table.exists = data.file || index.file;
    if (!table.exists) {
        return table;
    }
    FileTable files(fileSystem);
    table.read = loadDump(data.path.typed, index.path.typed, codePage, files);
    auto dataBytes = bytesOf(fileSystem, data);
    auto indexBytes = bytesOf(fileSystem, index);
    if (dataBytes && indexBytes) {
        table.bytes = SkillFiles{std::move(*indexBytes), std::move(*dataBytes)};
    }
    return table;
}

}  // namespace quorrel::cli
