#include "FittedFont.h"

#include "Handles.h"

namespace quorrel::win32 {
namespace {

// The screen's device context, for measuring, for as long as the object lives.
class ScreenContext {
  public:
    ScreenContext() : context_(GetDC(nullptr)) {}
    ScreenContext(const ScreenContext&) = delete;
    ScreenContext& operator=(const ScreenContext&) = delete;
    ~ScreenContext() { ReleaseDC(nullptr, context_); }
    HDC get() const noexcept { return context_; }

  private:
    HDC context_;
};

// The height of a line of `font` (ascent, descent and internal leading), as an edit control lays
// out its text; 0 when it cannot be measured.
int lineHeight(HDC context, const LOGFONTW& font) {
    const FontHandle created(CreateFontIndirectW(&font));
    if (!created) {
        return 0;
    }
    const HGDIOBJ previous = SelectObject(context, created.get());
    TEXTMETRICW metrics{};
    const bool measured = GetTextMetricsW(context, &metrics) != FALSE;
    SelectObject(context, previous);
    return measured ? metrics.tmHeight : 0;
}

}  // namespace

LOGFONTW fittedFont(LOGFONTW font, int height) {
    const ScreenContext screen;
    if (lineHeight(screen.get(), font) <= height) {
        return font;
    }
    // A positive height asks for that line height; rounding can still give a pixel more.
    for (int asked = height; asked > 1; --asked) {
        font.lfHeight = asked;
        if (lineHeight(screen.get(), font) <= height) {
            return font;
        }
    }
    return font;
}

}  // namespace quorrel::win32
