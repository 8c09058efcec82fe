#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quorrel {

// A Windows code page, by its number: the 8-bit encoding that skill names are stored in. A value
// type; every one that exists names a code page this system can be asked to convert through.
class CodePage {
  public:
    // The Windows ANSI code pages, in ascending order: the ones a user may choose by number.
    static constexpr std::array<unsigned, 14> kKnownNumbers = {
        874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

    // The known code page of that number; none for any other number.
    static std::optional<CodePage> known(unsigned number);

    // The known code pages in the order a list is most likely written in them, for a message that
    // names one that holds a list: the single-byte ones first (1250 to 1258, then 874), the
    // double-byte ones after (932, 936, 949, 950), which hold Cyrillic and Greek letters too.
    static std::span<const CodePage> inLikelyOrder() noexcept;

    static constexpr CodePage windows1252() noexcept { return CodePage(1252); }

    // The system's default 8-bit code page, worked out once: on Windows its ANSI code page, on
    // other systems the one forLocale gives for the environment's locale.
    static CodePage ofSystem();

    // The code page a Windows program started under Wine gets for a locale. The locale is the
    // first of the three variables that is not empty, as the C library takes it for character
    // handling. Its language decides, and for Chinese its country, for Serbian and Uzbek the
    // script its @modifier names; every other locale, "C" and "POSIX" included, gets
    // Windows-1252. Only the names are read: the locale need not be installed.
    static CodePage forLocale(std::string_view lcAll, std::string_view lcCtype,
                              std::string_view lang);

    // The known numbers, for messages: "874, 932, ..., 1258".
    static std::string knownNumbersText();

    constexpr unsigned number() const noexcept { return number_; }

    // Whether a character may take two bytes: a lead byte and any byte after it.
    bool isDoubleByte() const noexcept;

    // Whether the byte starts a character of two bytes, whatever byte follows it.
    bool isLeadByte(std::uint8_t byte) const noexcept;

    // Whether this is UTF-8, which a Windows system may be set to use as its ANSI code page.
    bool isUtf8() const noexcept { return number_ == kUtf8; }

    // The name messages use: "Windows-1251", "UTF-8".
    std::string name() const;

    friend constexpr bool operator==(CodePage, CodePage) noexcept = default;

  private:
    friend CodePage systemCodePage();

    static constexpr unsigned kUtf8 = 65001;

    explicit constexpr CodePage(unsigned number) noexcept : number_(number) {}

    unsigned number_;
};

// The system's code page as this platform finds it; CodePage::ofSystem keeps the first answer.
CodePage systemCodePage();

}  // namespace quorrel
