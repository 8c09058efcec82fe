#include "SideFiles.h"

#include <cstdint>
#include <random>

#include "FileQueries.h"
#include "Utf8.h"

namespace quorrel {
namespace {

constexpr std::size_t kLongestName = 255;
constexpr std::size_t kTagSize = 16;
// "." + stem + ".quorrel-old-" + tag + "-N", the longest side name, must stay within
// kLongestName.
constexpr std::size_t kLongestStem = kLongestName - 1 - 13 - kTagSize - 2;

std::string hexOf(std::uint64_t value) {
    constexpr std::string_view kHexDigits = "0123456789abcdef";
    std::string hex;
    for (; hex.size() < kTagSize; value >>= 4) {
        hex += kHexDigits[value & 0xF];
    }
    return hex;
}

// FNV-1a: the same for a name on every system and in every run, which a stem must be.
std::uint64_t hashOf(std::string_view name) {
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (const char character : name) {
        hash = (hash ^ static_cast<unsigned char>(character)) * 0x100000001B3ULL;
    }
    return hash;
}

std::string stemOf(const std::string& name) {
    if (name.size() <= kLongestStem) {
        return name;
    }
    // Never in the middle of a character: a Windows name must stay UTF-8.
    const std::size_t cut = sequenceStart(name, kLongestStem - 1 - kTagSize);
    return name.substr(0, cut) + "~" + hexOf(hashOf(name));
}

}  // namespace

SideNames::SideNames(const std::string& target)
    : folder_(target.substr(0, target.size() - nameOf(target).size())),
      stem_(stemOf(nameOf(target))) {}

std::string randomTag() {
    thread_local std::mt19937_64 random{std::random_device{}()};
    return hexOf(random());
}

}  // namespace quorrel
