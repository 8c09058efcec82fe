#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileWriter.h"

namespace quorrel {

// What tells one file from another on a system: the device or volume and the file's number on
// it. Two names with the same identity are links to one file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;

    auto operator<=>(const FileIdentity&) const = default;
};

// The identity of the file or folder at `local`, links followed; nothing when there is none or
// it cannot be asked.
std::optional<FileIdentity> identityOf(const std::string& local);

// Inspects a target before anything is written: the regular file there, or nothing for a missing
// name in an existing folder. Anything else put in its place would be lost, so a folder, a device
// or a pipe there ("cannot write "uo": it is a folder, not a regular file"), a missing folder, or
// a system that cannot say, is a write-error failure.
std::optional<FileIdentity> inspectTarget(const TargetPath& target);

// Why the entry at `local`, named as one of the hidden files a run makes beside `target`, cannot
// be one a run made, looked at itself, links not followed: "it is a symbolic link", "it is a
// folder", "it is a pipe", or, in a folder where only an entry's owner may remove it (the sticky
// bit, as on /tmp), "it is owned by another user" when neither the caller nor the target's owner
// owns it. Nothing when it can be.
std::optional<std::string> whyNotMadeByARun(const std::string& local, const std::string& target);

// Whether the two paths name one file, whether or not it exists yet: the same file when both
// exist, else the same name in the same folder, names compared as the system compares them (as
// Windows does, ignoring case, when either is a Windows name).
bool nameOneFile(const TargetPath& first, const TargetPath& second);

// The paths of the entries of the folder holding `local` whose names start with `prefix`, in
// name order; none when the folder cannot be listed.
std::vector<std::string> siblingsStartingWith(const std::string& local, std::string_view prefix);

// The whole of the file at `local`, or nothing when it holds more than `largest` bytes. Throws a
// read-error failure naming the file when it cannot be read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& local,
                                                       std::uint64_t largest);

}  // namespace quorrel
