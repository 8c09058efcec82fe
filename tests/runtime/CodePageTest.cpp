#include <gtest/gtest.h>

#include "runtime/text/CodePage.h"

namespace quorrel {
namespace {

// The code page Wine gives a Windows program for the locale in LC_ALL, else LC_CTYPE, else LANG.
TEST(CodePage, ForLocaleTakesTheFirstLocaleSetAndMapsItsLanguageToWindowsAnsiCodePage) {
    const struct {
        const char* lcAll;
        const char* lcCtype;
        const char* lang;
        unsigned expected;
    } cases[] = {
        {"", "", "", 1252},
        {"C", "", "ru_RU.UTF-8", 1252},
        {"POSIX", "", "", 1252},
        {"", "", "C.UTF-8", 1252},
        {"", "", "ru_RU.UTF-8", 1251},
        {"", "ru_RU.KOI8-R", "en_US.UTF-8", 1251},
        {"en_US.UTF-8", "ru_RU.UTF-8", "ja_JP.UTF-8", 1252},
        {"", "", "ru", 1251},
        {"", "", "rux_RU.UTF-8", 1252},
        {"", "", "uk_UA.UTF-8", 1251},
        {"", "", "pl_PL.UTF-8", 1250},
        {"", "", "el_GR@euro", 1253},
        {"", "", "tr_TR.UTF-8", 1254},
        {"", "", "he_IL.UTF-8", 1255},
        {"", "", "ar_EG.UTF-8", 1256},
        {"", "", "lv_LV.UTF-8", 1257},
        {"", "", "vi_VN", 1258},
        {"", "", "th_TH.UTF-8", 874},
        {"", "", "ja_JP.eucJP", 932},
        {"", "", "ko_KR.UTF-8", 949},
        {"", "", "zh_CN.UTF-8", 936},
        {"", "", "zh", 936},
        {"", "", "zh_TW.Big5", 950},
        {"", "", "zh_HK.UTF-8", 950},
        {"", "", "sr_RS", 1251},
        {"", "", "sr_RS@latin", 1250},
        {"", "", "uz_UZ.UTF-8", 1254},
        {"", "", "uz_UZ@cyrillic", 1251},
        {"", "", "de_DE@euro", 1252},
        {"", "", "hi_IN", 1252},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CodePage::forLocale(c.lcAll, c.lcCtype, c.lang).number(), c.expected)
            << "LC_ALL=" << c.lcAll << " LC_CTYPE=" << c.lcCtype << " LANG=" << c.lang;
    }
}

}  // namespace
}  // namespace quorrel
