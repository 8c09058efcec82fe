#include <gtest/gtest.h>

#include <cwchar>

#include "FittedFont.h"
#include "Handles.h"

namespace quorrel::win32 {
namespace {

int lineHeightOf(const LOGFONTW& font) {
    const FontHandle created(CreateFontIndirectW(&font));
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, created.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

LOGFONTW tahoma(LONG height) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    std::wcscpy(font.lfFaceName, L"Tahoma");
    return font;
}

// The path fields hold 15 pixels inside their border at 96 dpi: Windows 10's message font, 16
// pixels a line, is made to fit, and a font that fits is left as it is.
TEST(FittedFontTest, MakesAFontSmallerOnlyWhereItsLinesAreTallerThanTheHeight) {
    struct Case {
        LONG height;
        bool fits;
    };
    for (const Case& c : {Case{16, false}, Case{-16, false}, Case{-11, true}, Case{15, true}}) {
        const LOGFONTW fitted = fittedFont(tahoma(c.height), 15);
        EXPECT_LE(lineHeightOf(fitted), 15) << c.height;
        EXPECT_GE(lineHeightOf(fitted), 12) << c.height;
        EXPECT_STREQ(fitted.lfFaceName, L"Tahoma") << c.height;
        EXPECT_EQ(fitted.lfHeight == c.height, c.fits) << c.height;
    }
}

}  // namespace
}  // namespace quorrel::win32
