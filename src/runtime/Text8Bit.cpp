#include "Text8Bit.h"

#include <array>

#ifdef _WIN32
#include <algorithm>
#include <limits>

#include "WideText.h"
#include "WindowsApi.h"
#endif

namespace quorrel {
namespace {

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

// Windows-1252 bytes 0x80..0x9F; the rest of the upper half is Latin-1. The five bytes the
// code page leaves unassigned map to themselves, as Windows converts them.
constexpr std::array<char16_t, 32> kWindows1252Upper = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

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

}  // namespace quorrel
