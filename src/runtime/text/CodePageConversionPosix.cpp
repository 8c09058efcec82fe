// These systems have no 8-bit code page of their own: names go through the code page a Windows
// program gets here under Wine, converted with our own table for Windows-1252 and with iconv's
// tables for the others.

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "CodePageConversion.h"
#include "Text8Bit.h"
#include "runtime/base/Ascii.h"
#include "runtime/base/Failure.h"
#include "runtime/base/Utf8.h"

namespace quorrel {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F; the rest of the upper half is Latin-1. The five bytes the
// code page leaves unassigned map to themselves, as Windows converts them.
constexpr std::array<char16_t, 32> kWindows1252Upper = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// One iconv conversion, closed when it goes. `failure` is what a system without it fails with.
class Iconv {
  public:
    Iconv(const std::string& to, const std::string& from, const Failure& failure)
        : handle_(iconv_open(to.c_str(), from.c_str())) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw Failure(failure.kind(), failure.description() +
                                              ": this system cannot convert it (" +
                                              std::strerror(errno) + ")");
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    ~Iconv() { iconv_close(handle_); }

    iconv_t get() const noexcept { return handle_; }

    // Back to the initial state, with no character held back.
    void reset() const noexcept { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

  private:
    iconv_t handle_;
};

std::string iconvName(CodePage codePage) {
    return "CP" + std::to_string(codePage.number());
}

// The one character that one byte, or a lead byte and the byte after it, stands for; none when
// they are no character. Some converters hold a character back in case a combining mark follows,
// so the conversion is ended to get it out.
std::optional<char32_t> characterOf(const Iconv& decoder, std::span<const std::uint8_t> bytes) {
    std::array<char, 2> in{};
    std::copy(bytes.begin(), bytes.end(), in.begin());
    std::array<char32_t, 4> out{};
    char* inAt = in.data();
    std::size_t inLeft = bytes.size();
    auto* outAt = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = sizeof(out);
    decoder.reset();
    constexpr auto kFailed = static_cast<std::size_t>(-1);
    if (iconv(decoder.get(), &inAt, &inLeft, &outAt, &outLeft) == kFailed ||
        iconv(decoder.get(), nullptr, nullptr, &outAt, &outLeft) == kFailed ||
        sizeof(out) - outLeft != sizeof(char32_t)) {
        return std::nullopt;
    }
    return out[0];
}

// A code page as tables: the character of every byte, and for each lead byte of a double-byte
// code page the character of every pair it starts.
class CodePageTable {
  public:
    explicit CodePageTable(CodePage codePage) {
        if (codePage == CodePage::windows1252()) {
            fillWindows1252();
        } else {
            fillThroughIconv(codePage);
        }
        asciiKept_ = keepsAscii();
    }

    // The text is made at its exact size, counted first, so that whoever keeps it (a list of a
    // million names) keeps no spare capacity and need not copy it to be rid of that.
    std::string decode(std::span<const std::uint8_t> bytes) const {
        // Most names are ASCII, which a code page that keeps it as it is (most do) copies.
        if (asciiKept_ && allAscii(bytes)) {
            return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        }
        std::size_t size = 0;
        forEachCharacter(bytes, [&](char32_t character) { size += utf8Size(character); });
        std::string text(size, '\0');
        text.clear();
        forEachCharacter(bytes, [&](char32_t character) { appendUtf8(text, character); });
        return text;
    }

    // The byte that stands alone for the character, if any.
    std::optional<std::uint8_t> singleByteOf(char32_t character) const {
        // Most characters of most names are ASCII, which every one of these code pages keeps.
        if (character < 0x80 && single_[character] == character) {
            return static_cast<std::uint8_t>(character);
        }
        const auto* found =
            std::lower_bound(bytes_.begin(), bytes_.begin() + bytesCount_, ByteOf{character, 0});
        if (found == bytes_.begin() + bytesCount_ || found->character != character) {
            return std::nullopt;
        }
        return found->byte;
    }

  private:
    static std::size_t utf8Size(char32_t character) {
        return character < 0x80 ? 1 : character < 0x800 ? 2 : character < 0x10000 ? 3 : 4;
    }

    template <typename Take>
    void forEachCharacter(std::span<const std::uint8_t> bytes, Take take) const {
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            const std::uint8_t lead = leadIndex_[bytes[at]];
            if (lead == 0) {
                take(single_[bytes[at]]);
            } else if (at + 1 < bytes.size()) {
                take(pairs_[(lead - 1) * 256u + bytes[++at]]);
            } else {
                // A lead byte with nothing after it is no character.
                take(kReplacement);
            }
        }
    }

    void fillWindows1252() {
        for (unsigned byte = 0; byte < 256; ++byte) {
            single_[byte] = byte >= 0x80 && byte < 0xA0 ? kWindows1252Upper[byte - 0x80] : byte;
        }
        indexBytes();
    }

    void fillThroughIconv(CodePage codePage) {
        const Iconv decoder(
            "UTF-32LE", iconvName(codePage),
            Failure(FailureKind::ReadError, "names cannot be read in " + codePage.name()));
        for (unsigned byte = 0; byte < 256; ++byte) {
            if (codePage.isLeadByte(static_cast<std::uint8_t>(byte))) {
                fillPairs(decoder, static_cast<std::uint8_t>(byte));
                continue;
            }
            const std::array<std::uint8_t, 1> alone = {static_cast<std::uint8_t>(byte)};
            if (const auto character = characterOf(decoder, alone)) {
                single_[byte] = *character;
            } else {
                // Windows gives the bytes a code page leaves unassigned in 0x80..0x9F the control
                // characters of the same value; iconv knows no character for them.
                single_[byte] = byte >= 0x80 && byte < 0xA0 ? byte : kReplacement;
            }
        }
        indexBytes();
    }

    void fillPairs(const Iconv& decoder, std::uint8_t lead) {
        pairs_.resize(pairs_.size() + 256, kReplacement);
        leadIndex_[lead] = static_cast<std::uint8_t>(pairs_.size() / 256);
        single_[lead] = kReplacement;
        char32_t* pairs = pairs_.data() + pairs_.size() - 256;
        for (unsigned trail = 0; trail < 256; ++trail) {
            const std::array<std::uint8_t, 2> pair = {lead, static_cast<std::uint8_t>(trail)};
            pairs[trail] = characterOf(decoder, pair).value_or(kReplacement);
        }
    }

    void indexBytes() {
        for (unsigned byte = 0; byte < 256; ++byte) {
            if (leadIndex_[byte] == 0 && single_[byte] != kReplacement) {
                bytes_[bytesCount_++] = ByteOf{single_[byte], static_cast<std::uint8_t>(byte)};
            }
        }
        std::sort(bytes_.begin(), bytes_.begin() + bytesCount_);
    }

    struct ByteOf {
        char32_t character;
        std::uint8_t byte;

        friend auto operator<=>(const ByteOf&, const ByteOf&) = default;
    };

    bool keepsAscii() const noexcept {
        for (unsigned byte = 0; byte < 0x80; ++byte) {
            if (leadIndex_[byte] != 0 || single_[byte] != byte) {
                return false;
            }
        }
        return true;
    }

    std::array<char32_t, 256> single_{};
    // 0 for a byte that is a character of its own, else 1 + the lead byte's row in pairs_.
    std::array<std::uint8_t, 256> leadIndex_{};
    std::vector<char32_t> pairs_;
    // The bytes that are characters of their own, by character.
    std::array<ByteOf, 256> bytes_{};
    std::size_t bytesCount_ = 0;
    bool asciiKept_ = false;
};

// Tables are built once per code page and never change after, so any thread may read them.
// Windows-1252's takes no memory of its own, so a load in the default code page allocates nothing
// for it that could fail.
const CodePageTable& tableOf(CodePage codePage) {
    if (codePage == CodePage::windows1252()) {
        static const CodePageTable windows1252(codePage);
        return windows1252;
    }
    static std::mutex guard;
    static std::map<unsigned, std::unique_ptr<const CodePageTable>> tables;
    const std::lock_guard lock(guard);
    auto& table = tables[codePage.number()];
    if (!table) {
        table = std::make_unique<const CodePageTable>(codePage);
    }
    return *table;
}

std::optional<std::string> encodeSingleByte(const CodePageTable& table, std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto byte = table.singleByteOf(nextCodePoint(utf8, at).value_or(kReplacement));
        if (!byte) {
            return std::nullopt;
        }
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

// iconv's encoder, kept for the thread: opening one for every name of a long list would cost more
// than converting it.
const Iconv& encoderOf(CodePage codePage) {
    thread_local std::map<unsigned, std::unique_ptr<const Iconv>> encoders;
    auto& encoder = encoders[codePage.number()];
    if (!encoder) {
        encoder = std::make_unique<const Iconv>(
            iconvName(codePage), "UTF-8",
            Failure(FailureKind::BadInput, "cannot be written in " + codePage.name()));
    }
    return *encoder;
}

std::optional<std::string> encodeDoubleByte(const CodePageTable& table, CodePage codePage,
                                            std::string_view utf8) {
    constexpr auto kFailed = static_cast<std::size_t>(-1);
    const Iconv& encoder = encoderOf(codePage);
    encoder.reset();
    // No character takes more bytes in the code page than in UTF-8.
    std::string bytes(utf8.size(), '\0');
    auto* inAt = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outAt = bytes.data();
    std::size_t outLeft = bytes.size();
    while (iconv(encoder.get(), &inAt, &inLeft, &outAt, &outLeft) == kFailed) {
        if (errno != EILSEQ) {
            return std::nullopt;
        }
        // iconv knows no character for the bytes Windows leaves unassigned in 0x80..0x9F.
        std::size_t at = static_cast<std::size_t>(inAt - utf8.data());
        const auto byte = table.singleByteOf(nextCodePoint(utf8, at).value_or(kReplacement));
        if (!byte || outLeft == 0) {
            return std::nullopt;
        }
        *outAt++ = static_cast<char>(*byte);
        --outLeft;
        inAt = const_cast<char*>(utf8.data()) + at;
        inLeft = utf8.size() - at;
    }
    if (iconv(encoder.get(), nullptr, nullptr, &outAt, &outLeft) == kFailed) {
        return std::nullopt;
    }
    bytes.resize(bytes.size() - outLeft);
    return bytes;
}

}  // namespace

CodePage systemCodePage() {
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string_view(value == nullptr ? "" : value);
    };
    return CodePage::forLocale(variable("LC_ALL"), variable("LC_CTYPE"), variable("LANG"));
}

std::string textFrom8Bit(std::span<const std::uint8_t> bytes, CodePage codePage) {
    return tableOf(codePage).decode(bytes);
}

std::optional<std::string> encodeThrough(CodePage codePage, std::string_view utf8) {
    const CodePageTable& table = tableOf(codePage);
    return codePage.isDoubleByte() ? encodeDoubleByte(table, codePage, utf8)
                                   : encodeSingleByte(table, utf8);
}

}  // namespace quorrel
