#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 one character at a time, where a name must be looked inside: compared as Windows compares
// names, or checked before it goes into a JSON string.

namespace quorrel {

// The code point of the UTF-8 sequence at `at`, moving `at` past it; nothing, and `at` moved by
// one, for a byte that starts no well-formed sequence.
inline std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) {
        return lead;
    }
    const std::size_t length = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) {
        return std::nullopt;
    }
    char32_t value = lead & (0x3F >> length);
    for (std::size_t i = 0; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = (value << 6) | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    at += length;
    return value;
}

// Appends a code point (up to U+10FFFF) as UTF-8.
inline void appendUtf8(std::string& text, char32_t value) {
    if (value < 0x80) {
        text += static_cast<char>(value);
        return;
    }
    const std::size_t length = value < 0x800 ? 1 : value < 0x10000 ? 2 : 3;
    constexpr unsigned char kLeads[] = {0, 0xC0, 0xE0, 0xF0};
    text += static_cast<char>(kLeads[length] | (value >> (6 * length)));
    for (std::size_t i = length; i-- > 0;) {
        text += static_cast<char>(0x80 | ((value >> (6 * i)) & 0x3F));
    }
}

// Where a piece of `text` cut before `at`, a position inside it, must end so as to split no
// well-formed sequence: the start of the sequence `at` falls in, at most three bytes back, as none
// is longer than four. Bytes that belong to no sequence are left as they are wherever the cut
// falls, so in a run of them `at` itself is the answer: the cut never walks back further.
inline std::size_t sequenceStart(std::string_view text, std::size_t at) {
    for (std::size_t back = 0; back < 4 && back <= at; ++back) {
        if ((static_cast<unsigned char>(text[at - back]) & 0xC0) != 0x80) {
            return at - back;
        }
    }
    return at;
}

}  // namespace quorrel
