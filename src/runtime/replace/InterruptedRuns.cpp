#include "InterruptedRuns.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "SideNames.h"
#include "runtime/files/FileQueries.h"
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

Found sideFilesBeside(std::span<const TargetPath> targets) {
    Found found;
    std::map<std::string, KeptFiles> byTag;
    for (const TargetPath& target : targets) {
        const SideNames names(target.local);
        const auto identity = identityOf(target.local);
        for (std::string& path : siblingsStartingWith(target.local, names.prefix())) {
            const auto side = names.of(nameOf(path));
            if (!side || side->kind == SideKind::Lock) {
                continue;
            }
            if (auto why = whyNotMadeByARun(path, target.local)) {
                found.unexpected.push_back({target, std::move(path), std::move(*why)});
            } else if (side->kind == SideKind::Temporary) {
                found.temporaries.push_back(std::move(path));
            } else {
                const bool same = identity && identityOf(path) == identity;
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

LeftBeside findKeptFiles(std::span<const TargetPath> targets) {
    Found found = sideFilesBeside(targets);
    std::erase_if(found.runs, replacedNothing);
    return {std::move(found.runs), std::move(found.unexpected)};
}

LeftBeside tidyAfterInterruptedRuns(FileWriter& writer, std::span<const TargetPath> targets) {
    Found found = sideFilesBeside(targets);
    for (const std::string& temporary : found.temporaries) {
        writer.remove(temporary);
    }
    for (const KeptFiles& run : found.runs) {
        if (replacedNothing(run)) {
            for (const KeptFiles::Kept& kept : run.files) {
                writer.remove(kept.backup);
            }
        }
    }
    std::erase_if(found.runs, replacedNothing);
    return {std::move(found.runs), std::move(found.unexpected)};
}

}  // namespace quorrel
