#include "TargetLinks.h"

#include <deque>
#include <filesystem>
#include <string>
#include <utility>

#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/files/SystemPath.h"

namespace quorrel {
namespace {

// As many links as Linux follows for one path.
constexpr int kMostLinks = 40;

std::deque<std::string> componentsOf(const std::string& path) {
    std::deque<std::string> components;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string::npos ? path.size() : slash;
        if (end > start) {
            components.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return components;
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string parentOf(const std::string& folder) {
    const std::size_t slash = folder.rfind('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : folder.substr(0, slash);
}

// A user as messages name them: "nobody" (uid 65534), or the number alone.
std::string userCalled(FileSystem& fileSystem, std::uint32_t user) {
    const std::string number = "uid " + std::to_string(user);
    const auto name = fileSystem.userName(user);
    return name ? inQuotes(*name) + " (" + number + ")" : number;
}

// Refuses the link at `link` in `folder` unless the system would follow it for a shell's ">".
void refuseUnlessFollowed(FileSystem& fileSystem, const LocalPath& target, const std::string& link,
                          const FileStatus& entry, const std::string& folder) {
    const FileStatus holder = fileSystem.statusOf(folder);
    constexpr std::uint32_t kWritableByOthers = 0002;
    if (!holder.sticky || (holder.permissions & kWritableByOthers) == 0 || !entry.owner ||
        entry.owner == fileSystem.currentUser() || entry.owner == holder.owner) {
        return;
    }
    throw Failure(FailureKind::WriteError,
                  "cannot write " + target.quoted() + ": " + inQuotes(link) +
                      " is a symbolic link owned by " + userCalled(fileSystem, *entry.owner) +
                      " in " + inQuotes(folder) +
                      ", a folder everyone may write; a link there is followed only when it is "
                      "yours or the folder owner's");
}

}  // namespace

LocalPath followTargetLinks(FileSystem& fileSystem, LocalPath target) {
    const FileStatus entry = fileSystem.entryStatusOf(target.local);
    if (entry.presence != FileStatus::Presence::There || entry.kind != FileKind::SymbolicLink) {
        return target;
    }
    const auto refused = [&](const std::string& why) {
        return Failure(FailureKind::WriteError, "cannot write " + target.quoted() + ": " + why);
    };
    std::deque<std::string> pending =
        componentsOf(utf8Of(std::filesystem::absolute(systemPath(target.local))));
    std::string at = "/";
    for (int links = 0; !pending.empty();) {
        const std::string component = std::move(pending.front());
        pending.pop_front();
        if (component == ".") {
            continue;
        }
        if (component == "..") {
            at = parentOf(at);
            continue;
        }
        const std::string next = joined(at, component);
        const FileStatus status = fileSystem.entryStatusOf(next);
        if (status.presence == FileStatus::Presence::There &&
            status.kind == FileKind::SymbolicLink) {
            if (++links > kMostLinks) {
                throw refused("it leads through more than " + std::to_string(kMostLinks) +
                              " symbolic links");
            }
            refuseUnlessFollowed(fileSystem, target, next, status, at);
            const auto leadsTo = fileSystem.linkTarget(next);
            if (!leadsTo) {
                throw refused(inQuotes(next) + " is a symbolic link that cannot be read");
            }
            std::deque<std::string> more = componentsOf(*leadsTo);
            pending.insert(pending.begin(), more.begin(), more.end());
            if (leadsTo->starts_with('/')) {
                at = "/";
            }
            continue;
        }
        if (status.presence != FileStatus::Presence::There) {
            const std::string leadsTo = fileSystem.linkTarget(target.local).value_or("");
            throw refused(status.presence == FileStatus::Presence::Missing
                              ? "it is a symbolic link to " + inQuotes(leadsTo) +
                                    ", which does not exist"
                              : "it is a symbolic link to " + inQuotes(leadsTo) +
                                    ", which cannot be looked at: " + status.reason);
        }
        at = next;
    }
    target.local = at;
    return target;
}

}  // namespace quorrel
