#pragma once

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

}  // namespace quorrel
