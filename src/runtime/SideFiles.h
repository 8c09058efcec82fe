#pragma once

#include <string>
#include <string_view>

namespace quorrel {

// The hidden files a run of the file writer makes beside a target, all named after it:
// ".NAME.quorrel-new-TAG" for the temporary files it writes, ".NAME.quorrel-old-TAG-N" for the
// files it replaces, kept until it has finished (N of them, one tag for all), and
// ".NAME.quorrel-lock" for its lock. So a later
// run finds what an interrupted one left, and a user sees whose the files are. A name too long
// to take the additions within the 255 bytes file systems allow is shortened, and made unique
// again by a hash of the whole name.
class SideNames {
  public:
    explicit SideNames(const std::string& target);

    std::string temporary(std::string_view tag) const {
        return folder_ + temporaryPrefix() + std::string(tag);
    }
    std::string backup(std::string_view tag) const {
        return folder_ + backupPrefix() + std::string(tag);
    }
    std::string lock() const { return folder_ + "." + stem_ + ".quorrel-lock"; }

    // The start of the names, without the folder, of the temporary files and of the backups.
    std::string temporaryPrefix() const { return "." + stem_ + ".quorrel-new-"; }
    std::string backupPrefix() const { return "." + stem_ + ".quorrel-old-"; }

  private:
    std::string folder_;  // the target's path up to its name
    std::string stem_;
};

// A fresh random tag of 16 hexadecimal digits, so that two runs never pick the same names.
std::string randomTag();

}  // namespace quorrel
