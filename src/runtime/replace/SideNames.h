#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/files/LocalPath.h"

namespace quorrel {

// What a hidden file beside a target is to the run that made it.
enum class SideKind { Temporary, Backup, Lock };

// A hidden name taken apart: the stem of the target it belongs to, what it is, the tag of a
// temporary file or a backup ("3f9c..."; a lock has none), and for a backup how many backups its
// run made, all with that tag (the "-2" that ends its name).
struct SideName {
    std::string stem;
    SideKind kind;
    std::string tag;
    std::size_t made = 0;

    bool operator==(const SideName&) const = default;
};

// The hidden files a run of replaceFiles makes beside a target, all named after it:
// ".NAME.quorrel-new-TAG" for the temporary files it writes, ".NAME.quorrel-old-TAG-N" for the
// files it replaces, kept until it has finished (N of them, one tag for all), and
// ".NAME.quorrel-lock" for its lock, where TAG is 16 hexadecimal digits. So a later run finds what
// an interrupted one left, and a user sees whose the files are. Only these exact shapes are side
// names: ".NAME.quorrel-new-x.quorrel-lock" is the lock of the target "NAME.quorrel-new-x", never a
// file of NAME's. A name too long to take the additions within the 255 bytes file systems allow,
// or one that ends as such a shortened name does ("~" and 16 hexadecimal digits), is shortened,
// and made unique again by a hash of the whole name; so no two targets share hidden names.
class SideNames {
  public:
    explicit SideNames(const std::string& target);

    std::string temporary(std::string_view tag) const;
    // The backup of a run that makes `made` backups (1 to 9), all with one tag.
    std::string backup(std::string_view tag, std::size_t made) const;
    std::string lock() const;

    // The start, without the folder, that all of the target's hidden names share.
    std::string prefix() const;

    // What `name`, a name in the target's folder, is to the target: one of its own hidden files
    // taken apart, or nothing.
    std::optional<SideName> of(std::string_view name) const;

  private:
    std::string folder_;  // the target's path up to its name
    std::string stem_;
};

// The name taken apart when it has the exact shape of a hidden name of some target; nothing
// otherwise.
std::optional<SideName> parseSideName(std::string_view name);

// A target's name taken apart when it is one of the hidden names, as the system compares names
// (for a Windows name ignoring case and the dots and spaces Windows drops from its end): such a
// target would be taken for another target's temporary file, backup or lock, and removed with it.
std::optional<SideName> sideNameOf(std::string_view name, bool windowsName);

// Refuses a target named as one of the hidden names (sideNameOf) with a write-error failure that
// says whose file such a name is: "cannot write ".a.quorrel-lock": it is named as quorrel-pack's
// own lock beside "a", and such a name is never a target".
void refuseSideName(const LocalPath& target);

// A fresh random tag of 16 hexadecimal digits, so that two runs never pick the same names.
std::string randomTag();

}  // namespace quorrel
