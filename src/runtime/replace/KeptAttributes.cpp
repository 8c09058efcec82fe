#include "KeptAttributes.h"

#include <vector>

#include "runtime/base/InQuotes.h"

namespace quorrel {
namespace {

std::string called(const std::optional<std::string>& name, const char* kind, std::uint32_t id) {
    const std::string number = std::string(kind) + " " + std::to_string(id);
    return name ? inQuotes(*name) + " (" + number + ")" : number;
}

std::string listed(const std::vector<std::string>& parts) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    }
    return text;
}

}  // namespace

std::optional<std::string> keepWhatSedKeeps(FileSystem& fileSystem, const LocalPath& target,
                                            const std::string& fresh) {
    const FileStatus old = fileSystem.statusOf(target.local);
    const unsigned lost = fileSystem.keepAttributes(target.local, fresh);
    if (lost == 0) {
        return std::nullopt;
    }
    std::vector<std::string> parts;
    if ((lost & kKeptMode) != 0) {
        parts.emplace_back("mode");
    }
    if ((lost & kKeptOwner) != 0 && old.owner) {
        parts.push_back("owner " + called(fileSystem.userName(*old.owner), "uid", *old.owner));
    }
    if ((lost & kKeptGroup) != 0 && old.group) {
        parts.push_back("group " + called(fileSystem.groupName(*old.group), "gid", *old.group));
    }
    if ((lost & kKeptAcl) != 0) {
        parts.emplace_back("access control list");
    }
    if ((lost & kKeptExtendedAttributes) != 0) {
        parts.emplace_back("extended attributes");
    }
    return "the new " + target.quoted() + " does not keep the old one's " + listed(parts) +
           ": this user may not give them to a file, or the file system does not hold them";
}

}  // namespace quorrel
