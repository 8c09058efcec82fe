#pragma once

#include <QColor>

class QPalette;

namespace quorrel {

// The contrast of two colours as WCAG 2.1 measures it, from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& one, const QColor& other);

// The colour of a check box's frame in a list drawn with `palette`: the palest blend of the text
// colour into the list's background that stands out from that background by at least 3:1, the
// least WCAG 2.1 asks of a control's boundary (1.4.11, non-text contrast). A palette whose text
// itself falls short gets its text colour.
QColor boxFrameColour(const QPalette& palette);

}  // namespace quorrel
