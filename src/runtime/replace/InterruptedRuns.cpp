#include "InterruptedRuns.h"

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

#include "SideNames.h"
#include "runtime/base/InQuotes.h"
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

std::string shellQuoted(const std::string& path) {
#ifdef _WIN32
    return inQuotes(path);
#else
    std::string quoted = "'";
    for (const char character : path) {
        quoted += character == '\'' ? std::string("'\\''") : std::string(1, character);
    }
    return quoted + "'";
#endif
}

std::string moveCommand(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return "move /Y " + shellQuoted(from) + " " + shellQuoted(to);
#else
    return "mv -f -- " + shellQuoted(from) + " " + shellQuoted(to);
#endif
}

std::string removeCommand(const std::string& path) {
#ifdef _WIN32
    return "del /F /A " + shellQuoted(path);
#else
    return "rm -f -- " + shellQuoted(path);
#endif
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

std::string describeKeptFiles(const KeptFiles& kept, bool onlyReplaced) {
    std::string names;
    std::string command;
    for (const KeptFiles::Kept& file : kept.files) {
        names += (names.empty() ? "" : ", ") + inQuotes(file.backup) + " (the old " +
                 file.target.shown + ")";
        if (!kept.whole()) {
            continue;
        }
        // A backup that is still its target is only a second name, to be removed; one that moves
        // onto its own target would be refused by mv as the same file.
        command +=
            (command.empty() ? "" : " && ") + (onlyReplaced && file.sameAsTarget
                                                   ? removeCommand(file.backup)
                                                   : moveCommand(file.backup, file.target.local));
    }
    const std::string stopped =
        "a quorrel-pack run was stopped before it finished and kept the files it was replacing: ";
    if (!kept.whole()) {
        return stopped + names + ", " + std::to_string(kept.files.size()) + " of the " +
               std::to_string(kept.made) +
               " it kept; the rest are gone or beside other files, and these alone would not "
               "put its table back";
    }
    return stopped + names + "; to put them back: " + command;
}

std::string describeUnexpected(const UnexpectedFile& unexpected) {
    return inQuotes(unexpected.path) + " is named as a file quorrel-pack keeps beside " +
           unexpected.target.shown + ", but cannot be one: " + unexpected.why +
           "; it is left as it is";
}

std::optional<std::pair<TargetPath, LockState>> runInProgress(FileWriter& writer,
                                                              std::span<const TargetPath> targets) {
    for (const TargetPath& target : targets) {
        const LockState state = writer.lockState(SideNames(target.local).lock());
        if (state != LockState::Free) {
            return std::pair(target, state);
        }
    }
    return std::nullopt;
}

TargetLocks::TargetLocks(FileWriter& writer, std::span<const TargetPath> targets,
                         const std::function<void(const TargetPath&)>& waiting) {
    // By the folder's identity and the lock's name, which two runs agree on however they spell
    // the paths.
    using Key = std::tuple<FileIdentity, std::string>;
    struct Lock {
        std::string path;
        const TargetPath* target;
    };
    std::map<Key, Lock> order;
    for (const TargetPath& target : targets) {
        std::string lock = SideNames(target.local).lock();
        Key key{identityOf(folderOf(lock)).value_or(FileIdentity{}), nameOf(lock)};
        order.try_emplace(std::move(key), Lock{std::move(lock), &target});
    }
    for (const auto& entry : order) {
        const Lock& lock = entry.second;
        held_.push_back(
            writer.lock(lock.path, [&waiting, target = lock.target] { waiting(*target); }));
    }
}

}  // namespace quorrel
