#include "BoxFrame.h"

#include <QPalette>
#include <algorithm>
#include <cmath>

namespace quorrel {
namespace {

// The least contrast a frame gets, a little over 3:1 so that rounding to 8-bit colours and
// a screen's own rounding never take it under.
constexpr double kFrameContrast = 3.1;
constexpr int kBlendSteps = 64;

double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

QColor blend(const QColor& from, const QColor& to, double share) {
    const auto mix = [share](int one, int other) {
        return static_cast<int>(std::lround(one + (other - one) * share));
    };
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

}  // namespace

double contrastRatio(const QColor& one, const QColor& other) {
    const double a = luminance(one);
    const double b = luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor boxFrameColour(const QPalette& palette) {
    const QColor background = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    for (int step = 1; step < kBlendSteps; ++step) {
        const QColor frame = blend(background, text, static_cast<double>(step) / kBlendSteps);
        if (contrastRatio(frame, background) >= kFrameContrast) {
            return frame;
        }
    }
    return text;
}

}  // namespace quorrel
