#include "CodePage.h"

#include <algorithm>

namespace quorrel {
namespace {

// A language's ANSI code page where it is not 1252, as Windows and Wine give it.
struct LanguageCodePage {
    std::string_view language;
    unsigned number;
};

constexpr LanguageCodePage kLanguageCodePages[] = {
    {"bs", 1250}, {"cs", 1250}, {"hr", 1250}, {"hu", 1250},  {"pl", 1250},  {"ro", 1250},
    {"sk", 1250}, {"sl", 1250}, {"sq", 1250}, {"tk", 1250},  {"be", 1251},  {"bg", 1251},
    {"ky", 1251}, {"mk", 1251}, {"mn", 1251}, {"ru", 1251},  {"sah", 1251}, {"sr", 1251},
    {"tg", 1251}, {"tt", 1251}, {"uk", 1251}, {"el", 1253},  {"az", 1254},  {"tr", 1254},
    {"uz", 1254}, {"he", 1255}, {"ar", 1256}, {"ckb", 1256}, {"fa", 1256},  {"ug", 1256},
    {"ur", 1256}, {"et", 1257}, {"lt", 1257}, {"lv", 1257},  {"vi", 1258},  {"th", 874},
    {"ja", 932},  {"zh", 936},  {"ko", 949},
};

// The parts of a locale name, language[_territory][.codeset][@modifier], that decide.
struct LocaleName {
    std::string_view language;
    std::string_view territory;
    std::string_view modifier;
};

LocaleName partsOf(std::string_view locale) {
    LocaleName parts;
    if (const auto at = locale.find('@'); at != std::string_view::npos) {
        parts.modifier = locale.substr(at + 1);
        locale = locale.substr(0, at);
    }
    locale = locale.substr(0, locale.find('.'));
    const auto underscore = locale.find('_');
    parts.language = locale.substr(0, underscore);
    if (underscore != std::string_view::npos) {
        parts.territory = locale.substr(underscore + 1);
    }
    return parts;
}

unsigned codePageNumberOf(const LocaleName& locale) {
    // Chinese as written in Taiwan, Hong Kong and Macao is Traditional: Big5.
    if (locale.language == "zh" &&
        (locale.territory == "TW" || locale.territory == "HK" || locale.territory == "MO")) {
        return 950;
    }
    // Serbian is Cyrillic and Uzbek Latin unless the modifier names the other script.
    if ((locale.language == "sr" || locale.language == "uz") && locale.modifier == "latin") {
        return locale.language == "sr" ? 1250 : 1254;
    }
    if ((locale.language == "sr" || locale.language == "uz") && locale.modifier == "cyrillic") {
        return 1251;
    }
    const auto* found = std::find_if(
        std::begin(kLanguageCodePages), std::end(kLanguageCodePages),
        [&](const LanguageCodePage& entry) { return entry.language == locale.language; });
    return found == std::end(kLanguageCodePages) ? 1252 : found->number;
}

}  // namespace

std::optional<CodePage> CodePage::known(unsigned number) {
    if (std::find(kKnownNumbers.begin(), kKnownNumbers.end(), number) == kKnownNumbers.end()) {
        return std::nullopt;
    }
    return CodePage(number);
}

std::span<const CodePage> CodePage::inLikelyOrder() noexcept {
    static constexpr std::array kOrder = {
        CodePage(1250), CodePage(1251), CodePage(1252), CodePage(1253), CodePage(1254),
        CodePage(1255), CodePage(1256), CodePage(1257), CodePage(1258), CodePage(874),
        CodePage(932),  CodePage(936),  CodePage(949),  CodePage(950)};
    static_assert(kOrder.size() == kKnownNumbers.size());
    static_assert(
        [] {
            std::array<unsigned, kOrder.size()> numbers{};
            for (std::size_t i = 0; i < kOrder.size(); ++i) {
                numbers[i] = kOrder[i].number();
            }
            return std::is_permutation(numbers.begin(), numbers.end(), kKnownNumbers.begin());
        }(),
        "the likely order holds every known code page once");
    return kOrder;
}

CodePage CodePage::ofSystem() {
    static const CodePage system = systemCodePage();
    return system;
}

CodePage CodePage::forLocale(std::string_view lcAll, std::string_view lcCtype,
                             std::string_view lang) {
    // An empty variable counts as one that is not set.
    const std::string_view locale = !lcAll.empty() ? lcAll : !lcCtype.empty() ? lcCtype : lang;
    return CodePage(codePageNumberOf(partsOf(locale)));
}

std::string CodePage::knownNumbersText() {
    std::string text;
    for (const unsigned number : kKnownNumbers) {
        text += (text.empty() ? "" : ", ") + std::to_string(number);
    }
    return text;
}

bool CodePage::isDoubleByte() const noexcept {
    return number_ == 932 || number_ == 936 || number_ == 949 || number_ == 950;
}

bool CodePage::isLeadByte(std::uint8_t byte) const noexcept {
    // Shift JIS leaves 0xA0..0xDF to single-byte katakana; the other three lead with any byte
    // from 0x81 to 0xFE.
    if (number_ == 932) {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    }
    return isDoubleByte() && byte >= 0x81 && byte <= 0xFE;
}

std::string CodePage::name() const {
    return isUtf8() ? std::string("UTF-8") : "Windows-" + std::to_string(number_);
}

}  // namespace quorrel
