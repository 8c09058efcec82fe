#include "Text8Bit.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "CodePageConversion.h"
#include "runtime/base/Ascii.h"
#include "runtime/base/Failure.h"
#include "runtime/base/Utf8.h"

namespace quorrel {
namespace {

std::string hexCodePoint(char32_t character) {
    std::string digits;
    const int highest = character > 0xFFFFF ? 20 : character > 0xFFFF ? 16 : 12;
    for (int shift = highest; shift >= 0; shift -= 4) {
        digits += kUpperHexDigits[(character >> shift) & 0xF];
    }
    return "U+" + digits;
}

// The code point at `at`, moving `at` past it. Overlong forms, surrogates and values past
// U+10FFFF are refused, so that no two inputs give the same bytes.
char32_t utf8CodePoint(std::string_view utf8, std::size_t& at) {
    if (const auto point = nextCodePoint(utf8, at)) {
        return *point;
    }
    throw Failure(FailureKind::BadInput, "is not valid UTF-8");
}

void requireUtf8(std::string_view utf8) {
    for (std::size_t at = 0; at < utf8.size();) {
        utf8CodePoint(utf8, at);
    }
}

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The code page's bytes for the text when they give the text back: a converter that writes some
// character as a look-alike (U+00A5 as the byte of '\') or as nothing does not hold it.
std::optional<std::string> heldBytes(std::string_view utf8, CodePage codePage) {
    auto bytes = encodeThrough(codePage, utf8);
    if (bytes && textFrom8Bit(bytesOf(*bytes), codePage) == utf8) {
        return bytes;
    }
    return std::nullopt;
}

Failure notHeld(std::string_view utf8, CodePage codePage) {
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const char32_t character = utf8CodePoint(utf8, at);
        if (!heldBytes(utf8.substr(start, at - start), codePage)) {
            return Failure(FailureKind::BadInput, "holds " + hexCodePoint(character) + ", which " +
                                                      codePage.name() + " cannot hold");
        }
    }
    // Every character alone is held, but not the whole text: its bytes would read back otherwise.
    return Failure(FailureKind::BadInput,
                   "cannot be written in " + codePage.name() + " so that it reads back the same");
}

}  // namespace

std::string textTo8Bit(std::string_view utf8, CodePage codePage) {
    if (auto bytes = textTo8BitIfHeld(utf8, codePage)) {
        return std::move(*bytes);
    }
    throw notHeld(utf8, codePage);
}

std::optional<std::string> textTo8BitIfHeld(std::string_view utf8, CodePage codePage) {
    requireUtf8(utf8);
    return heldBytes(utf8, codePage);
}

bool writtenBackOtherwise(std::span<const std::uint8_t> bytes, std::string_view text,
                          CodePage codePage) {
    // Most names come back as they were, which one conversion shows.
    const auto first = encodeThrough(codePage, text);
    if (!first || std::ranges::equal(bytesOf(*first), bytes)) {
        return false;
    }
    return heldBytes(text, codePage).has_value();
}

}  // namespace quorrel
