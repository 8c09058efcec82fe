#include "SideNames.h"

#include <algorithm>
#include <cstdint>
#include <random>

#include "runtime/base/Ascii.h"
#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "runtime/base/Utf8.h"
#include "runtime/files/PathParts.h"
#include "runtime/files/WindowsNames.h"

namespace quorrel {
namespace {

constexpr std::size_t kLongestName = 255;
constexpr std::size_t kTagSize = 16;
// "." + stem + ".quorrel-old-" + tag + "-N", the longest side name, must stay within
// kLongestName.
constexpr std::size_t kLongestStem = kLongestName - 1 - 13 - kTagSize - 2;
constexpr std::string_view kMarker = ".quorrel-";
constexpr std::string_view kLock = ".quorrel-lock";
constexpr std::string_view kTemporary = ".quorrel-new-";
constexpr std::string_view kBackup = ".quorrel-old-";

std::string hexOf(std::uint64_t value) {
    std::string hex;
    for (; hex.size() < kTagSize; value >>= 4) {
        hex += kLowerHexDigits[value & 0xF];
    }
    return hex;
}

bool isTag(std::string_view text) {
    return text.size() == kTagSize && std::all_of(text.begin(), text.end(), [](char digit) {
               return kLowerHexDigits.find(digit) != std::string_view::npos;
           });
}

// FNV-1a: the same for a name on every system and in every run, which a stem must be.
std::uint64_t hashOf(std::string_view name) {
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (const char character : name) {
        hash = (hash ^ static_cast<unsigned char>(character)) * 0x100000001B3ULL;
    }
    return hash;
}

// Whether the name ends as a shortened stem does: such a name is shortened too, so that it never
// takes the stem of a longer name.
bool endsAsShortened(std::string_view name) {
    return name.size() > kTagSize && name[name.size() - kTagSize - 1] == '~' &&
           isTag(name.substr(name.size() - kTagSize));
}

std::string stemOf(const std::string& name) {
    if (name.size() <= kLongestStem && !endsAsShortened(name)) {
        return name;
    }
    // Never in the middle of a character: a Windows name must stay UTF-8.
    constexpr std::size_t kKept = kLongestStem - 1 - kTagSize;
    const std::size_t cut = name.size() <= kKept ? name.size() : sequenceStart(name, kKept);
    return name.substr(0, cut) + "~" + hexOf(hashOf(name));
}

// The name split where `marker` starts, `tagSize` bytes before its end, when the marker stands
// there after a stem of at least one byte.
std::optional<SideName> splitAt(std::string_view body, std::string_view marker, std::size_t tagSize,
                                SideKind kind) {
    if (body.size() < 1 + marker.size() + tagSize) {
        return std::nullopt;
    }
    const std::size_t markerAt = body.size() - tagSize - marker.size();
    if (body.substr(markerAt, marker.size()) != marker) {
        return std::nullopt;
    }
    return SideName{std::string(body.substr(0, markerAt)), kind,
                    std::string(body.substr(markerAt + marker.size()))};
}

}  // namespace

SideNames::SideNames(const std::string& target)
    : folder_(target.substr(0, target.size() - nameOf(target).size())),
      stem_(stemOf(nameOf(target))) {}

std::string SideNames::temporary(std::string_view tag) const {
    return folder_ + "." + stem_ + std::string(kTemporary) + std::string(tag);
}

std::string SideNames::backup(std::string_view tag, std::size_t made) const {
    return folder_ + "." + stem_ + std::string(kBackup) + std::string(tag) + "-" +
           std::to_string(made);
}

std::string SideNames::lock() const {
    return folder_ + "." + stem_ + std::string(kLock);
}

std::string SideNames::prefix() const {
    return "." + stem_ + std::string(kMarker);
}

std::optional<SideName> SideNames::of(std::string_view name) const {
    auto side = parseSideName(name);
    if (!side || side->stem != stem_) {
        return std::nullopt;
    }
    return side;
}

std::optional<SideName> parseSideName(std::string_view name) {
    if (!name.starts_with('.')) {
        return std::nullopt;
    }
    const std::string_view body = name.substr(1);
    if (body.ends_with(kLock)) {
        return splitAt(body, kLock, 0, SideKind::Lock);
    }
    // A backup's tag is followed by "-N", the number of backups its run made.
    const std::size_t counted = kTagSize + 2;
    if (body.size() > counted && body[body.size() - 2] == '-' && body.back() >= '1' &&
        body.back() <= '9' && isTag(body.substr(body.size() - counted, kTagSize))) {
        auto backup = splitAt(body, kBackup, counted, SideKind::Backup);
        if (backup) {
            backup->made = static_cast<std::size_t>(body.back() - '0');
            backup->tag.resize(kTagSize);
        }
        return backup;
    }
    if (body.size() < kTagSize || !isTag(body.substr(body.size() - kTagSize))) {
        return std::nullopt;
    }
    return splitAt(body, kTemporary, kTagSize, SideKind::Temporary);
}

std::optional<SideName> sideNameOf(std::string_view name, bool windowsName) {
    if (!windowsName) {
        return parseSideName(name);
    }
    // The hidden names are ASCII after the stem, so ASCII letters are all that case can change.
    return parseSideName(asciiLowerCase(withoutTrailingDotsAndSpaces(name)));
}

void refuseSideName(const LocalPath& target) {
    if (const auto side = sideNameOf(nameOf(target.local), target.windowsName)) {
        const char* what = side->kind == SideKind::Lock        ? "lock"
                           : side->kind == SideKind::Temporary ? "temporary file"
                                                               : "backup";
        throw Failure(FailureKind::WriteError, "cannot write " + target.quoted() +
                                                   ": it is named as quorrel-pack's own " + what +
                                                   " beside " + inQuotes(side->stem) +
                                                   ", and such a name is never a target");
    }
}

std::string randomTag() {
    thread_local std::mt19937_64 random{std::random_device{}()};
    return hexOf(random());
}

}  // namespace quorrel
