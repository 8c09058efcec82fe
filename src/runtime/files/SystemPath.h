#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quorrel {

// Paths are UTF-8 text everywhere in Quorrel; the standard library's paths take UTF-8 only as
// char8_t, and give it back the same way.
inline std::filesystem::path systemPath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace quorrel
