// Windows converts names itself, through its ANSI code page unless told another.

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "CodePageConversion.h"
#include "Text8Bit.h"
#include "runtime/base/Failure.h"
#include "runtime/base/Utf8.h"
#include "runtime/system/SystemMessageWindows.h"
#include "runtime/system/WideTextWindows.h"
#include "runtime/system/WindowsApi.h"

namespace quorrel {
namespace {

// The conversion functions take int counts; longer texts are converted in pieces that end
// between two characters.
constexpr std::size_t kPiece = std::numeric_limits<int>::max() / 4;

Failure cannotConvert(FailureKind kind, const std::string& what) {
    return Failure(
        kind, what + ": this system cannot convert it (" + systemMessage(GetLastError()) + ")");
}

// Where the piece from `start` ends: never after a lead byte whose pair it would split, nor
// inside a UTF-8 sequence.
std::size_t pieceEnd(CodePage codePage, std::span<const std::uint8_t> bytes, std::size_t start) {
    const std::size_t end = std::min(bytes.size(), start + kPiece);
    if (end == bytes.size()) {
        return end;
    }
    if (codePage.isUtf8()) {
        return sequenceStart(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), end);
    }
    std::size_t at = start;
    while (at < end) {
        at += IsDBCSLeadByteEx(codePage.number(), bytes[at]) ? std::size_t{2} : std::size_t{1};
    }
    return at > end ? end - 1 : end;
}

// The piece's characters, or none when some bytes in it are no character of the code page.
// UTF-8 has the system put U+FFFD in place of what is not UTF-8.
std::optional<std::wstring> wideOf(CodePage codePage, std::span<const std::uint8_t> piece) {
    const DWORD flags = codePage.isUtf8() ? 0 : MB_ERR_INVALID_CHARS;
    const auto* source = reinterpret_cast<const char*>(piece.data());
    const int sourceSize = static_cast<int>(piece.size());
    const int size = MultiByteToWideChar(codePage.number(), flags, source, sourceSize, nullptr, 0);
    if (size == 0) {
        if (GetLastError() != ERROR_NO_UNICODE_TRANSLATION) {
            throw cannotConvert(FailureKind::ReadError,
                                "names cannot be read in " + codePage.name());
        }
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage.number(), flags, source, sourceSize, wide.data(), size);
    return wide;
}

// One character at a time: a lead byte takes the byte after it, whatever it is, as the system
// does, and what is no character becomes U+FFFD.
std::wstring wideByCharacter(CodePage codePage, std::span<const std::uint8_t> piece) {
    std::wstring wide;
    for (std::size_t at = 0; at < piece.size();) {
        const bool lead = IsDBCSLeadByteEx(codePage.number(), piece[at]) && at + 1 < piece.size();
        const std::size_t size = lead ? 2 : 1;
        wide += wideOf(codePage, piece.subspan(at, size)).value_or(L"\uFFFD");
        at += size;
    }
    return wide;
}

}  // namespace

CodePage systemCodePage() {
    return CodePage(GetACP());
}

std::string textFrom8Bit(std::span<const std::uint8_t> bytes, CodePage codePage) {
    std::string text;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = pieceEnd(codePage, bytes, start);
        const auto piece = bytes.subspan(start, end - start);
        const auto wide = wideOf(codePage, piece);
        std::string converted = utf8FromWide(wide ? *wide : wideByCharacter(codePage, piece));
        // A name of one piece, the usual case, is kept as converted, at its exact size.
        if (text.empty()) {
            text = std::move(converted);
        } else {
            text += converted;
        }
        start = end;
    }
    return text;
}

std::optional<std::string> encodeThrough(CodePage codePage, std::string_view utf8) {
    std::string bytes;
    for (std::size_t start = 0; start < utf8.size();) {
        const std::size_t cut = std::min(utf8.size(), start + kPiece);
        const std::size_t end = cut < utf8.size() ? sequenceStart(utf8, cut) : cut;
        const std::wstring wide = wideFromUtf8(utf8.substr(start, end - start));
        const int wideSize = static_cast<int>(wide.size());
        // A character the code page has no bytes for would become its default character, or with
        // best fit a look-alike ('A' for 'Ā'); either is refused. UTF-8 holds every character,
        // and the system takes no such flags for it.
        const DWORD flags = codePage.isUtf8() ? 0 : WC_NO_BEST_FIT_CHARS;
        BOOL usedDefault = FALSE;
        BOOL* usedDefaultFlag = codePage.isUtf8() ? nullptr : &usedDefault;
        const int size = WideCharToMultiByte(codePage.number(), flags, wide.data(), wideSize,
                                             nullptr, 0, nullptr, usedDefaultFlag);
        if (size == 0) {
            throw cannotConvert(FailureKind::BadInput, "cannot be written in " + codePage.name());
        }
        if (usedDefault) {
            return std::nullopt;
        }
        const std::size_t before = bytes.size();
        bytes.resize(before + static_cast<std::size_t>(size));
        WideCharToMultiByte(codePage.number(), flags, wide.data(), wideSize, bytes.data() + before,
                            size, nullptr, nullptr);
        start = end;
    }
    return bytes;
}

}  // namespace quorrel
