#pragma once

#include "Win32Api.h"

namespace quorrel::win32 {

// `font` as it is when its lines are at most `height` pixels high, or else made smaller, in the
// same face, until they are: so that a control that holds one line of `height` pixels, a path
// field of the design's fixed height, shows its text whole, descenders included.
LOGFONTW fittedFont(LOGFONTW font, int height);

}  // namespace quorrel::win32
