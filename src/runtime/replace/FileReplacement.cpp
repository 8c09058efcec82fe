#include "FileReplacement.h"

#include <algorithm>
#include <optional>

#include "KeptAttributes.h"
#include "SideNames.h"
#include "TemporaryFile.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/files/FileSystem.h"
#include "runtime/system/InterruptionsHeld.h"

namespace quorrel {
namespace {

// Writes the pieces one after another, small ones gathered into blocks, so that an index of many
// short runs of empty slots costs a few large writes rather than one per run.
void writePieces(WritableFile& file, const FilePieces& pieces) {
    constexpr std::size_t kBlock = 64 * 1024;
    std::vector<std::uint8_t> block;
    const auto writeBlock = [&] {
        if (!block.empty()) {
            file.write(block);
            block.clear();
        }
    };
    for (const FilePiece& piece : pieces) {
        for (std::uint64_t time = 0; time < piece.times; ++time) {
            if (piece.bytes.size() >= kBlock / 2) {
                writeBlock();
                file.write(piece.bytes);
                continue;
            }
            if (block.size() + piece.bytes.size() > kBlock) {
                writeBlock();
            }
            block.insert(block.end(), piece.bytes.begin(), piece.bytes.end());
        }
    }
    writeBlock();
}

// The files a run makes for its own use, the temporary files it writes and the second names it
// gives files it has placed, removed when the run leaves them behind.
class TemporaryFiles {
  public:
    explicit TemporaryFiles(FileSystem& fileSystem) : fileSystem_(fileSystem) {}
    TemporaryFiles(const TemporaryFiles&) = delete;
    TemporaryFiles& operator=(const TemporaryFiles&) = delete;
    ~TemporaryFiles() {
        for (const std::string& path : paths_) {
            if (!path.empty()) {
                fileSystem_.remove(path);
            }
        }
    }

    const std::string& path(std::size_t index) const { return paths_[index]; }

    // Writes the pieces to a new temporary file beside the target, gives it what `sed -i` keeps
    // of the target's old file, and flushes it to disk; its index. What could not be kept goes to
    // `notKept`.
    std::size_t write(const LookedAt& target, const FilePieces& pieces,
                      std::optional<std::string>& notKept) {
        const std::string& local = target.path.local;
        TemporaryFile temporary = createTemporaryBeside(fileSystem_, local, inQuotes(local));
        paths_.push_back(std::move(temporary.path));
        writePieces(*temporary.file, pieces);
        if (target.file) {
            notKept = keepWhatSedKeeps(fileSystem_, target.path, paths_.back());
        }
        temporary.file->flush();
        return paths_.size() - 1;
    }

    // Gives the file at `target` a temporary second name; its index.
    std::size_t keep(const std::string& target) {
        std::string name = SideNames(target).temporary(randomTag());
        fileSystem_.keep(target, name);
        paths_.push_back(std::move(name));
        return paths_.size() - 1;
    }

    // The file was renamed away: there is nothing left to remove.
    void gone(std::size_t index) noexcept { paths_[index].clear(); }

  private:
    FileSystem& fileSystem_;
    std::vector<std::string> paths_;
};

// The targets' old files under second names that share one tag, kept while the run lasts.
class Backups {
  public:
    Backups(FileSystem& fileSystem, std::span<const LookedAt> targets)
        : fileSystem_(fileSystem), targets_(targets), paths_(targets.size()) {}

    void keepExisting() {
        const auto existing = [](const LookedAt& target) { return target.file.has_value(); };
        // How many there are goes into the tag, so that a later run can tell all of them from
        // the rest of a run stopped while it removed them.
        const std::string tag = randomTag();
        const auto made =
            static_cast<std::size_t>(std::count_if(targets_.begin(), targets_.end(), existing));
        try {
            for (std::size_t i = 0; i < targets_.size(); ++i) {
                if (existing(targets_[i])) {
                    const std::string backup = SideNames(targets_[i].path.local).backup(tag, made);
                    fileSystem_.keep(targets_[i].path.local, backup);
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
                fileSystem_.remove(*path);
                path.reset();
            }
        }
    }

    // Removes the backups once the new files are in place; a note for each that could not be.
    std::vector<std::string> removeAllOnceReplaced() noexcept {
        std::vector<std::string> notes;
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            if (paths_[i] && !fileSystem_.remove(*paths_[i])) {
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

    // Renames the target's backup to `bak`, replacing what is there. A .bak that is already the
    // same file (a second name the user gave it) only loses the backup's name, which a rename
    // between two names of one file would leave.
    void keepAs(std::size_t target, const LocalPath& bak) {
        const std::string& backup = *paths_[target];
        const auto identity = fileSystem_.identityOf(backup);
        if (identity && fileSystem_.identityOf(bak.local) == identity) {
            fileSystem_.remove(backup);
        } else {
            fileSystem_.rename(backup, bak.local, true);
        }
        paths_[target].reset();
    }

    // Where the old files are, for a failure that leaves them there.
    std::string whereKept() const {
        std::string notes;
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            if (paths_[i]) {
                notes += "; the old " + targets_[i].path.quoted() + " is kept as " +
                         inQuotes(*paths_[i]);
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
                           targets_[target].path.quoted() +
                           " kept while it was replaced, could not be " + "removed; ";
        try {
            const std::string aside = SideNames(targets_[target].path.local).temporary(randomTag());
            fileSystem_.rename(backup, aside, false);
            return note + "it is now " + inQuotes(aside) + ", which the next run removes";
        } catch (const Failure&) {
            return note + "delete it, or it is taken for the backup of a stopped run";
        }
    }

    FileSystem& fileSystem_;
    std::span<const LookedAt> targets_;
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
    Replacement(FileSystem& fileSystem, std::span<const LookedAt> targets)
        : fileSystem_(fileSystem),
          targets_(targets),
          temporary_(fileSystem),
          backups_(fileSystem, targets) {}

    std::vector<std::string> run(std::span<const FileVersion> versions, const KeptAsBak& kept) {
        std::vector<std::size_t> written;
        std::vector<FileIdentity> identities;
        std::vector<std::string> notes;
        std::vector<bool> told(targets_.size(), false);
        for (const FileVersion& version : versions) {
            std::optional<std::string> notKept;
            written.push_back(temporary_.write(targets_[version.target], version.pieces, notKept));
            if (notKept && !told[version.target]) {
                told[version.target] = true;
                notes.push_back(std::move(*notKept));
            }
            identities.push_back(identityOfWritten(temporary_.path(written.back())));
            stopIfRequested();
        }
        const std::vector<std::optional<std::size_t>> bakWritten = writeBakVersions(kept.versions);
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
        if (!kept.paths.empty() && !keepAsBak(kept, bakWritten, notes)) {
            return notes;
        }
        for (std::string& note : backups_.removeAllOnceReplaced()) {
            notes.push_back(std::move(note));
        }
        return notes;
    }

  private:
    // Until the backups are kept, a request to stop leaves only temporary files to remove.
    static void stopIfRequested() {
        if (interruptionRequested()) {
            throw Interrupted();
        }
    }

    // Writes the .bak files' versions but the last of each target, which is its old file; where
    // each is, by version.
    std::vector<std::optional<std::size_t>> writeBakVersions(
        std::span<const FileVersion> versions) {
        std::vector<std::optional<std::size_t>> written(versions.size());
        for (std::size_t i = 0; i < versions.size(); ++i) {
            const auto later = versions.subspan(i + 1);
            const std::size_t target = versions[i].target;
            if (!targets_[target].file ||
                std::none_of(later.begin(), later.end(),
                             [&](const FileVersion& v) { return v.target == target; })) {
                continue;
            }
            // Only a passing step: the .bak ends as the old file, with all it had.
            std::optional<std::string> notKept;
            written[i] = temporary_.write(targets_[target], versions[i].pieces, notKept);
            stopIfRequested();
        }
        return written;
    }

    // Takes each .bak to its target's old file, version after version; false, with a note, when a
    // step failed. The steps stop there, and the old files not yet renamed stay under their
    // backups' names, which the note gives and the next run reports.
    bool keepAsBak(const KeptAsBak& kept, std::span<const std::optional<std::size_t>> written,
                   std::vector<std::string>& notes) noexcept {
        try {
            for (std::size_t i = 0; i < kept.versions.size(); ++i) {
                const std::size_t target = kept.versions[i].target;
                const LocalPath& bak = kept.paths[target];
                if (written[i]) {
                    fileSystem_.rename(temporary_.path(*written[i]), bak.local, true);
                    temporary_.gone(*written[i]);
                } else if (backups_.of(target)) {
                    backups_.keepAs(target, bak);
                }
            }
            return true;
        } catch (const Failure& failure) {
            try {
                notes.push_back("the new files are in place, but the old ones could not all be " +
                                std::string("kept as .bak files: ") + failure.description() +
                                backups_.whereKept());
            } catch (...) {
                // Memory running out costs only the note: the files are in place.
            }
        } catch (...) {
            // The same: the old files not yet renamed are where whereKept would have said.
        }
        return false;
    }

    FileIdentity identityOfWritten(const std::string& path) {
        const auto identity = fileSystem_.identityOf(path);
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
        const std::string& local = targets_[target].path.local;
        const bool ours = placedBefore(target);
        std::optional<std::size_t> kept;
        if (ours) {
            kept = temporary_.keep(local);
        }
        // Only a file the run has kept is replaced: one that appeared since makes the run fail.
        fileSystem_.rename(temporary_.path(written), local,
                           ours || backups_.of(target).has_value());
        temporary_.gone(written);
        placements_.push_back({target, identity, kept});
    }

    // Undoes the placements, last first; what could not be undone, for the failure's message.
    std::string undo() noexcept {
        try {
            while (!placements_.empty()) {
                const Placement placement = placements_.back();
                const LocalPath& target = targets_[placement.target].path;
                if (fileSystem_.identityOf(target.local) != placement.placed) {
                    return "; " + target.quoted() + " is no longer the file this run put there, " +
                           "so it is left as it is" + backups_.whereKept();
                }
                if (!undoOne(placement)) {
                    return "; putting the old " + target.quoted() + " back failed too" +
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
        const std::string& local = targets_[placement.target].path.local;
        try {
            if (placement.keptTemporary) {
                fileSystem_.rename(temporary_.path(*placement.keptTemporary), local, true);
                temporary_.gone(*placement.keptTemporary);
            } else if (const auto& backup = backups_.of(placement.target)) {
                fileSystem_.rename(*backup, local, true);
                backups_.restored(placement.target);
            } else {
                return fileSystem_.remove(local);
            }
        } catch (...) {
            return false;
        }
        return true;
    }

    FileSystem& fileSystem_;
    std::span<const LookedAt> targets_;
    TemporaryFiles temporary_;
    Backups backups_;
    std::vector<Placement> placements_;
};

}  // namespace

std::vector<std::string> replaceFiles(FileSystem& fileSystem, std::span<const LookedAt> targets,
                                      std::span<const FileVersion> versions,
                                      const KeptAsBak& kept) {
    return Replacement(fileSystem, targets).run(versions, kept);
}

}  // namespace quorrel
