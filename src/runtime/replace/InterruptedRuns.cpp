#include "InterruptedRuns.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "SideNames.h"
#include "runtime/files/FileSystem.h"
#include "runtime/files/PathParts.h"

namespace quorrel {

std::optional<std::string> whyNotMadeByARun(FileSystem& fileSystem, const std::string& local,
                                            const std::string& target) {
    const FileStatus entry = fileSystem.entryStatusOf(local);
    if (entry.presence != FileStatus::Presence::There) {
        return "it cannot be looked at: " + entry.reason;
    }
    if (entry.kind != FileKind::Regular) {
        return "it is " + kindName(entry.kind);
    }
    if (!entry.owner || entry.owner == fileSystem.currentUser() ||
        !fileSystem.statusOf(folderOf(local)).sticky) {
        return std::nullopt;
    }
    const FileStatus owner = fileSystem.statusOf(target);
    if (owner.presence == FileStatus::Presence::There && owner.owner == entry.owner) {
        return std::nullopt;
    }
    return std::string("it is owned by another user");
}

namespace {

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
    // By the tag and the count, which all the backups of one run share.
    std::map<std::pair<std::string, std::size_t>, KeptFiles> byTag;
    for (const LookedAt& looked : targets) {
        const LocalPath& target = looked.path;
        const SideNames names(target.local);
        const auto& identity = looked.file;
        for (std::string& path : siblingsStartingWith(fileSystem, target.local, names.prefix())) {
            const auto side = names.of(nameOf(path));
            if (!side || side->kind == SideKind::Lock) {
                continue;
            }
            if (auto why = whyNotMadeByARun(fileSystem, path, target.local)) {
                found.unexpected.push_back({target, std::move(path), std::move(*why)});
            } else if (side->kind == SideKind::Temporary) {
                found.temporaries.push_back(std::move(path));
            } else {
                const bool same = identity && fileSystem.identityOf(path) == identity;
                KeptFiles& run = byTag[{side->tag, side->made}];
                run.made = side->made;
                run.files.push_back({target, std::move(path), same});
            }
        }
    }
    for (auto& [tag, run] : byTag) {
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
