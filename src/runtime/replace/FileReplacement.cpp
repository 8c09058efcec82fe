#include "FileReplacement.h"

#include <algorithm>
#include <optional>

#include "SideNames.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/files/FileQueries.h"
#include "runtime/system/InterruptionsHeld.h"

namespace quorrel {
namespace {

constexpr int kNameAttempts = 100;

// The files a run makes for its own use, the temporary files it writes and the second names it
// gives files it has placed, removed when the run leaves them behind.
class TemporaryFiles {
  public:
    explicit TemporaryFiles(FileWriter& writer) : writer_(writer) {}
    TemporaryFiles(const TemporaryFiles&) = delete;
    TemporaryFiles& operator=(const TemporaryFiles&) = delete;
    ~TemporaryFiles() {
        for (const std::string& path : paths_) {
            if (!path.empty()) {
                writer_.remove(path);
            }
        }
    }

    const std::string& path(std::size_t index) const { return paths_[index]; }

    // Writes the pieces to a new temporary file beside `target`, flushed to disk; its index.
    std::size_t write(const std::string& target, const FilePieces& pieces) {
        const SideNames names(target);
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            std::string candidate = names.temporary(randomTag());
            auto file = writer_.createNew(candidate);
            if (file) {
                paths_.push_back(std::move(candidate));
                for (const auto& piece : pieces) {
                    file->write(piece);
                }
                file->flush();
                return paths_.size() - 1;
            }
        }
        throw Failure(FailureKind::WriteError,
                      "cannot find a free name for a temporary file beside " + inQuotes(target));
    }

    // Gives the file at `target` a temporary second name; its index.
    std::size_t keep(const std::string& target) {
        std::string name = SideNames(target).temporary(randomTag());
        writer_.keep(target, name);
        paths_.push_back(std::move(name));
        return paths_.size() - 1;
    }

    // The file was renamed away: there is nothing left to remove.
    void gone(std::size_t index) noexcept { paths_[index].clear(); }

  private:
    FileWriter& writer_;
    std::vector<std::string> paths_;
};

// The targets' old files under second names that share one tag, kept while the run lasts.
class Backups {
  public:
    Backups(FileWriter& writer, std::span<const TargetPath> targets)
        : writer_(writer), targets_(targets), paths_(targets.size()) {}

    void keepExisting() {
        std::vector<bool> existing;
        for (const TargetPath& target : targets_) {
            existing.push_back(identityOf(target.local).has_value());
        }
        // How many there are goes into the tag, so that a later run can tell all of them from
        // the rest of a run stopped while it removed them.
        const std::string tag =
            randomTag() + "-" + std::to_string(std::count(existing.begin(), existing.end(), true));
        try {
            for (std::size_t i = 0; i < targets_.size(); ++i) {
                if (existing[i]) {
                    const std::string backup = SideNames(targets_[i].local).backup(tag);
                    writer_.keep(targets_[i].local, backup);
                    paths_[i] = backup;
                }
            }
        } catch (...) {
            removeAll();
            throw;
        }
    }

    const std::optional<std::string>& of(std::size_t target) const { return paths_[target]; }

    // The backup went back into its target's place.
    void restored(std::size_t target) noexcept { paths_[target].reset(); }

    void removeAll() noexcept {
        for (auto& path : paths_) {
            if (path) {
                writer_.remove(*path);
                path.reset();
            }
        }
    }

    // Removes the backups once the new files are in place; a note for each that could not be.
    std::vector<std::string> removeAllOnceReplaced() noexcept {
        std::vector<std::string> notes;
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            if (paths_[i] && !writer_.remove(*paths_[i])) {
                try {
                    notes.push_back(setAside(i));
                } catch (...) {
                    // Memory running out costs only the note: the files are in place.
                }
            }
            paths_[i].reset();
        }
        return notes;
    }

    // Where the old files are, for a failure that leaves them there.
    std::string whereKept() const {
        std::string notes;
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            if (paths_[i]) {
                notes += "; the old " + targets_[i].shown + " is kept as " + inQuotes(*paths_[i]);
            }
        }
        return notes;
    }

  private:
    // A backup left under its name would be taken for a stopped run's, so it is given a temporary
    // file's name, which the next run removes; what became of it, said.
    std::string setAside(std::size_t target) {
        const std::string& backup = *paths_[target];
        std::string note = "the new files are in place, but " + inQuotes(backup) + ", the old " +
                           targets_[target].shown + " kept while it was replaced, could not be " +
                           "removed; ";
        try {
            const std::string aside = SideNames(targets_[target].local).temporary(randomTag());
            writer_.rename(backup, aside, false);
            return note + "it is now " + inQuotes(aside) + ", which the next run removes";
        } catch (const Failure&) {
            return note + "delete it, or it is taken for the backup of a stopped run";
        }
    }

    FileWriter& writer_;
    std::span<const TargetPath> targets_;
    std::vector<std::optional<std::string>> paths_;
};

// A version renamed into place, and where the file it replaced is kept.
struct Placement {
    std::size_t target;
    FileIdentity placed;
    std::optional<std::size_t> keptTemporary;  // the file was an earlier version of this run
};

class Replacement {
  public:
    Replacement(FileWriter& writer, std::span<const TargetPath> targets)
        : writer_(writer), targets_(targets), temporary_(writer), backups_(writer, targets) {}

    std::vector<std::string> run(std::span<const FileVersion> versions) {
        std::vector<std::size_t> written;
        std::vector<FileIdentity> identities;
        for (const FileVersion& version : versions) {
            written.push_back(temporary_.write(targets_[version.target].local, version.pieces));
            identities.push_back(identityOfWritten(temporary_.path(written.back())));
            // Until the backups are kept, a request to stop leaves only temporary files to remove.
            if (interruptionRequested()) {
                throw Interrupted();
            }
        }
        backups_.keepExisting();
        try {
            for (std::size_t i = 0; i < versions.size(); ++i) {
                place(versions[i].target, written[i], identities[i]);
            }
        } catch (const Failure& failure) {
            // A failing undo must not hide why the run failed; it is said after it.
            throw Failure(failure.kind(), failure.description() + undo());
        } catch (...) {
            undo();
            throw;
        }
        return backups_.removeAllOnceReplaced();
    }

  private:
    static FileIdentity identityOfWritten(const std::string& path) {
        const auto identity = identityOf(path);
        if (!identity) {
            throw Failure(FailureKind::WriteError,
                          "cannot find " + inQuotes(path) + " again after writing it");
        }
        return *identity;
    }

    bool placedBefore(std::size_t target) const {
        for (const Placement& placement : placements_) {
            if (placement.target == target) {
                return true;
            }
        }
        return false;
    }

    void place(std::size_t target, std::size_t written, FileIdentity identity) {
        const std::string& local = targets_[target].local;
        const bool ours = placedBefore(target);
        std::optional<std::size_t> kept;
        if (ours) {
            kept = temporary_.keep(local);
        }
        // Only a file the run has kept is replaced: one that appeared since makes the run fail.
        writer_.rename(temporary_.path(written), local, ours || backups_.of(target).has_value());
        temporary_.gone(written);
        placements_.push_back({target, identity, kept});
    }

    // Undoes the placements, last first; what could not be undone, for the failure's message.
    std::string undo() noexcept {
        try {
            while (!placements_.empty()) {
                const Placement placement = placements_.back();
                const TargetPath& target = targets_[placement.target];
                if (identityOf(target.local) != placement.placed) {
                    return "; " + target.shown + " is no longer the file this run put there, " +
                           "so it is left as it is" + backups_.whereKept();
                }
                if (!undoOne(placement)) {
                    return "; putting the old " + target.shown + " back failed too" +
                           backups_.whereKept();
                }
                placements_.pop_back();
            }
            backups_.removeAll();
        } catch (...) {
            return backups_.whereKept();
        }
        return {};
    }

    bool undoOne(const Placement& placement) {
        const std::string& local = targets_[placement.target].local;
        try {
            if (placement.keptTemporary) {
                writer_.rename(temporary_.path(*placement.keptTemporary), local, true);
                temporary_.gone(*placement.keptTemporary);
            } else if (const auto& backup = backups_.of(placement.target)) {
                writer_.rename(*backup, local, true);
                backups_.restored(placement.target);
            } else {
                return writer_.remove(local);
            }
        } catch (...) {
            return false;
        }
        return true;
    }

    FileWriter& writer_;
    std::span<const TargetPath> targets_;
    TemporaryFiles temporary_;
    Backups backups_;
    std::vector<Placement> placements_;
};

void refuseOneFileTwice(std::span<const TargetPath> targets) {
    if (const auto twice = oneFileNamedTwice(targets)) {
        throw Failure(FailureKind::WriteError, targets[twice->first].shown + " and " +
                                                   targets[twice->second].shown +
                                                   " are the same file");
    }
}

void refuseExisting(std::span<const TargetPath> targets) {
    for (const TargetPath& target : targets) {
        if (identityOf(target.local)) {
            throw Failure(FailureKind::WriteError, target.shown + " already exists");
        }
    }
}

}  // namespace

std::optional<std::pair<std::size_t, std::size_t>> oneFileNamedTwice(
    std::span<const TargetPath> targets) {
    for (std::size_t second = 1; second < targets.size(); ++second) {
        for (std::size_t first = 0; first < second; ++first) {
            if (nameOneFile(targets[first], targets[second])) {
                return std::pair(first, second);
            }
        }
    }
    return std::nullopt;
}

std::vector<std::string> replaceFiles(FileWriter& writer, std::span<const TargetPath> targets,
                                      std::span<const FileVersion> versions,
                                      ExistingFiles existing) {
    refuseOneFileTwice(targets);
    if (existing == ExistingFiles::Refuse) {
        refuseExisting(targets);
    }
    return Replacement(writer, targets).run(versions);
}

}  // namespace quorrel
