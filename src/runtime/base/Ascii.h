#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace quorrel {

// The hexadecimal digits, for the escapes and tags this system writes.
inline constexpr std::string_view kLowerHexDigits = "0123456789abcdef";
inline constexpr std::string_view kUpperHexDigits = "0123456789ABCDEF";

// The ASCII letter in lower case; any other byte, a byte of UTF-8 among them, as it is.
constexpr char asciiLower(char character) noexcept {
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a')
                                                : character;
}

// The text with its ASCII letters in lower case: how this system compares what only ASCII spells
// (extensions, its own hidden names, keywords), never a name Windows compares (WindowsNames).
inline std::string asciiLowerCase(std::string_view text) {
    std::string lowered(text);
    for (char& character : lowered) {
        character = asciiLower(character);
    }
    return lowered;
}

// Whether every byte is ASCII (below 0x80). Eight bytes are looked at at a time, as the load asks
// this of every name it reads.
inline bool allAscii(std::span<const std::uint8_t> bytes) noexcept {
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    std::uint64_t seen = 0;
    std::size_t at = 0;
    for (; at + sizeof(seen) <= bytes.size(); at += sizeof(seen)) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, sizeof(word));
        seen |= word;
    }
    for (; at < bytes.size(); ++at) {
        seen |= bytes[at];
    }
    return (seen & kHighBits) == 0;
}

}  // namespace quorrel
