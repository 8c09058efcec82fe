#include "Text8Bit.h"

#include <array>
#include <optional>
#include <string_view>

#include "Failure.h"

#ifdef _WIN32
#include <algorithm>
#include <limits>

#include "WideText.h"
#include "WindowsApi.h"
#endif

namespace quorrel {
namespace {

// Windows-1252 bytes 0x80..0x9F; the rest of the upper half is Latin-1. The five bytes the
// code page leaves unassigned map to themselves, as Windows converts them.
constexpr std::array<char16_t, 32> kWindows1252Upper = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

#ifdef _WIN32

// Names are Windows-1252 whatever the system's own code page is: a system set to another one
// (or to a multi-byte one, which would join bytes into characters) must not change them.
constexpr UINT kWindows1252 = 1252;

std::string windows1252ToUtf8(std::span<const std::uint8_t> bytes) {
    // MultiByteToWideChar takes an int count; names longer than that are converted in pieces,
    // which is exact for a single-byte code page.
    constexpr std::size_t kPiece = std::numeric_limits<int>::max() / 2;
    std::string text;
    for (std::size_t start = 0; start < bytes.size(); start += kPiece) {
        const auto piece = bytes.subspan(start, std::min(kPiece, bytes.size() - start));
        const auto* source = reinterpret_cast<const char*>(piece.data());
        const int sourceSize = static_cast<int>(piece.size());
        const int size = MultiByteToWideChar(kWindows1252, 0, source, sourceSize, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(size), L'\0');
        MultiByteToWideChar(kWindows1252, 0, source, sourceSize, wide.data(), size);
        text += utf8FromWide(wide);
    }
    return text;
}

#else

void appendUtf8(std::string& text, char32_t character) {
    if (character < 0x80) {
        text += static_cast<char>(character);
    } else if (character < 0x800) {
        text += static_cast<char>(0xC0 | (character >> 6));
        text += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (character >> 12));
        text += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (character & 0x3F));
    }
}

char32_t windows1252(std::uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kWindows1252Upper[byte - 0x80];
    }
    return byte;
}

#endif

std::string hexCodePoint(char32_t character) {
    constexpr std::string_view kHexDigits = "0123456789ABCDEF";
    std::string digits;
    const int highest = character > 0xFFFFF ? 20 : character > 0xFFFF ? 16 : 12;
    for (int shift = highest; shift >= 0; shift -= 4) {
        digits += kHexDigits[(character >> shift) & 0xF];
    }
    return "U+" + digits;
}

Failure notUtf8() {
    return Failure(FailureKind::BadInput, "is not valid UTF-8");
}

// The code point that starts at `at`, moving `at` past it. Overlong forms, surrogates and
// values past U+10FFFF are not UTF-8 and are refused, so that no two inputs give the same bytes.
char32_t nextCodePoint(std::string_view utf8, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(utf8[at++]);
    if (lead < 0x80) {
        return lead;
    }
    const int continuations = lead >= 0xC2 && lead < 0xE0   ? 1
                              : lead >= 0xE0 && lead < 0xF0 ? 2
                              : lead >= 0xF0 && lead < 0xF5 ? 3
                                                            : 0;
    if (continuations == 0) {
        throw notUtf8();
    }
    char32_t point = lead & (0x3F >> continuations);
    for (int i = 0; i < continuations; ++i) {
        if (at >= utf8.size() || (static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80) {
            throw notUtf8();
        }
        point = (point << 6) | (static_cast<unsigned char>(utf8[at++]) & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (point < kSmallest[continuations] || point > 0x10FFFF ||
        (point >= 0xD800 && point <= 0xDFFF)) {
        throw notUtf8();
    }
    return point;
}

std::optional<std::uint8_t> windows1252Byte(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<std::uint8_t>(character);
    }
    for (std::size_t i = 0; i < kWindows1252Upper.size(); ++i) {
        if (kWindows1252Upper[i] == character) {
            return static_cast<std::uint8_t>(0x80 + i);
        }
    }
    return std::nullopt;
}

}  // namespace

std::string textFrom8Bit(std::span<const std::uint8_t> bytes) {
#ifdef _WIN32
    return windows1252ToUtf8(bytes);
#else
    std::string text;
    text.reserve(bytes.size());
    for (const std::uint8_t byte : bytes) {
        appendUtf8(text, windows1252(byte));
    }
    return text;
#endif
}

std::string textTo8Bit(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t character = nextCodePoint(utf8, at);
        const auto byte = windows1252Byte(character);
        if (!byte) {
            throw Failure(FailureKind::BadInput,
                          "holds " + hexCodePoint(character) + ", which Windows-1252 cannot hold");
        }
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

}  // namespace quorrel
