#include "InterruptedRuns.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "SideNames.h"
#include "runtime/files/FileSystem.h"
#include "runtime/files/PathParts.h"

namespace quorrel {
namespace {

// How many backups the run of `tag` made, from the "-N" that ends it; nothing for a tag without
// one, which an earlier version of quorrel-pack gave its single backup.
std::optional<std::size_t> madeOf(const std::string& tag) {
    const auto dash = tag.rfind('-');
    if (dash == std::string::npos || dash + 2 != tag.size() || tag[dash + 1] < '1' ||
        tag[dash + 1] > '9') {
        return std::nullopt;
    }
    return static_cast<std::size_t>(tag[dash + 1] - '0');
}

// The hidden files that runs left beside the targets, as a later run finds them, and the entries
// that only have their names.
struct Found {
    std::vector<std::string> temporaries;
    std::vector<KeptFiles> runs;
    std::vector<UnexpectedFile> unexpected;
};

// The paths of the entries beside `local` whose names start with `prefix`, in name order.
std::vector<std::string> siblingsStartingWith(FileSystem& fileSystem, const std::string& local,
                                              std::string_view prefix) {
    const std::string folderPart = local.substr(0, local.size() - nameOf(local).size());
    std::vector<std::string> found;
    for (const std::string& name : fileSystem.namesIn(folderOf(local))) {
        if (name.starts_with(prefix)) {
            found.push_back(folderPart + name);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

Found sideFilesBeside(FileSystem& fileSystem, std::span<const LookedAt> targets) {
    Found found;
    std::map<std::string, KeptFiles> byTag;
    for (const LookedAt& looked : targets) {
        const LocalPath& target = looked.path;
        const SideNames names(target.local);
        const auto& identity = looked.file;
        for (std::string& path : siblingsStartingWith(fileSystem, target.local, names.prefix())) {
            const auto side = names.of(nameOf(path));
            if (!side || side->kind == SideKind::Lock) {
                continue;
            }
            if (auto why = fileSystem.whyNotMadeByARun(path, target.local)) {
                found.unexpected.push_back({target, std::move(path), std::move(*why)});
            } else if (side->kind == SideKind::Temporary) {
                found.temporaries.push_back(std::move(path));
            } else {
                const bool same = identity && fileSystem.identityOf(path) == identity;
                byTag[side->tag].files.push_back({target, std::move(path), same});
            }
        }
    }
    for (auto& [tag, run] : byTag) {
        run.made = madeOf(tag).value_or(run.files.size());
        found.runs.push_back(std::move(run));
    }
    return found;
}

bool replacedNothing(const KeptFiles& run) {
    return std::all_of(run.files.begin(), run.files.end(),
                       [](const KeptFiles::Kept& kept) { return kept.sameAsTarget; });
}

}  // namespace

LeftBeside findKeptFiles(FileSystem& fileSystem, std::span<const LookedAt> targets) {
    Found found = sideFilesBeside(fileSystem, targets);
    std::erase_if(found.runs, replacedNothing);
    return {std::move(found.runs), std::move(found.unexpected)};
}

LeftBeside tidyAfterInterruptedRuns(FileSystem& fileSystem, std::span<const LookedAt> targets) {
    Found found = sideFilesBeside(fileSystem, targets);
    for (const std::string& temporary : found.temporaries) {
        fileSystem.remove(temporary);
    }
    for (const KeptFiles& run : found.runs) {
        if (replacedNothing(run)) {
            for (const KeptFiles::Kept& kept : run.files) {
                fileSystem.remove(kept.backup);
            }
        }
    }
    std::erase_if(found.runs, replacedNothing);
    return {std::move(found.runs), std::move(found.unexpected)};
}

}  // namespace quorrel
