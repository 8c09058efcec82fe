#include "FileReplacement.h"

#include <optional>
#include <random>
#include <string_view>

#include "Failure.h"
#include "InQuotes.h"

namespace quorrel {
namespace {

constexpr int kNameAttempts = 100;

std::size_t nameStart(const std::string& local) {
#ifdef _WIN32
    const auto separator = local.find_last_of("\\/:");
#else
    const auto separator = local.rfind('/');
#endif
    return separator == std::string::npos ? 0 : separator + 1;
}

// Names beside a target for its temporary file and its backup: hidden, telling whose they are,
// and random, so that two runs writing into one folder never pick the same.
class SideNames {
  public:
    std::string beside(const std::string& target, std::string_view kind) {
        constexpr std::string_view kHexDigits = "0123456789abcdef";
        std::string suffix;
        for (std::uint64_t value = random_(); suffix.size() < 16; value >>= 4) {
            suffix += kHexDigits[value & 0xF];
        }
        const std::size_t start = nameStart(target);
        return target.substr(0, start) + "." + target.substr(start) + ".quorrel-" +
               std::string(kind) + "-" + suffix;
    }

  private:
    std::mt19937_64 random_{std::random_device{}()};
};

// The temporary files of a run, removed when the run leaves them behind.
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

    // Writes `bytes` to a new temporary file beside `target` and flushes it to disk.
    void write(const std::string& target, std::span<const std::uint8_t> bytes, SideNames& names) {
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            std::string candidate = names.beside(target, "new");
            auto file = writer_.createNew(candidate);
            if (file) {
                paths_.push_back(std::move(candidate));
                file->write(bytes);
                file->flush();
                return;
            }
        }
        throw Failure(FailureKind::WriteError,
                      "cannot find a free name for a temporary file beside " + inQuotes(target));
    }

    // The file was renamed away: there is nothing left to remove.
    void renamed(std::size_t index) noexcept { paths_[index].clear(); }

  private:
    FileWriter& writer_;
    std::vector<std::string> paths_;
};

// A target the run has changed: its new file placed, its old one moved to a backup, or both.
struct ChangedTarget {
    const TargetPath* target;
    std::optional<std::string> backup;
    bool newFilePlaced = false;
};

// Puts one target back as it was; false when the system refused, and then the old file, if any,
// is still in its backup.
bool restore(FileWriter& writer, const ChangedTarget& changed) noexcept {
    try {
        if (changed.backup) {
            writer.rename(*changed.backup, changed.target->local, changed.newFilePlaced);
            return true;
        }
        return !changed.newFilePlaced || writer.remove(changed.target->local);
    } catch (...) {
        return false;
    }
}

// Undoes the renames, last first, and says what could not be undone.
std::string restoreAll(FileWriter& writer, const std::vector<ChangedTarget>& changes) {
    std::string notes;
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        if (restore(writer, *change)) {
            continue;
        }
        notes += change->backup ? "; the old " + change->target->shown + " is kept as " +
                                      inQuotes(*change->backup)
                                : "; the new " + change->target->shown + " could not be removed";
    }
    return notes;
}

void refuseExisting(FileWriter& writer, std::span<const FileContents> files) {
    for (const FileContents& file : files) {
        if (writer.exists(file.target.local)) {
            throw Failure(FailureKind::WriteError, file.target.shown + " already exists");
        }
    }
}

void placeAll(FileWriter& writer, std::span<const FileContents> files, TemporaryFiles& temporary,
              ExistingFiles existing, SideNames& names, std::vector<ChangedTarget>& changes) {
    const bool replace = existing == ExistingFiles::Replace;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const TargetPath& target = files[i].target;
        const bool last = i + 1 == files.size();
        if (replace && !last && writer.exists(target.local)) {
            std::string backup = names.beside(target.local, "old");
            writer.rename(target.local, backup, false);
            changes.push_back({&target, std::move(backup)});
        } else {
            changes.push_back({&target, std::nullopt});
        }
        writer.rename(temporary.path(i), target.local, replace && last);
        changes.back().newFilePlaced = true;
        temporary.renamed(i);
    }
}

}  // namespace

void replaceFiles(FileWriter& writer, std::span<const FileContents> files, ExistingFiles existing) {
    if (existing == ExistingFiles::Refuse) {
        refuseExisting(writer, files);
    }
    SideNames names;
    TemporaryFiles temporary(writer);
    for (const FileContents& file : files) {
        temporary.write(file.target.local, file.bytes, names);
    }
    std::vector<ChangedTarget> changes;
    changes.reserve(files.size());
    try {
        placeAll(writer, files, temporary, existing, names, changes);
    } catch (const Failure& failure) {
        // A restore that fails must not hide why the run failed; it is said after it.
        const std::string notes = restoreAll(writer, changes);
        throw Failure(failure.kind(), failure.description() + notes);
    } catch (...) {
        restoreAll(writer, changes);
        throw;
    }
    for (const ChangedTarget& change : changes) {
        if (change.backup) {
            writer.remove(*change.backup);
        }
    }
}

}  // namespace quorrel
