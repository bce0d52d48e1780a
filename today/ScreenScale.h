// The screen's resolution for the details and the pop-up, which size themselves in 96-dpi units, and
// the one font face they draw text in.
#pragma once

#include "platform/wingdi.h"

namespace today {

struct ScreenScale {
    int dpiX = 96;
    int dpiY = 96;

    // The screen's resolution now (it changes with the screen profile, never while a window lives).
    static ScreenScale current();
    int scaleX(int units) const { return units * dpiX / 96; }
    int scaleY(int units) const { return units * dpiY / 96; }
};

// "Tahoma" at points on the screen, normal or bold; the caller deletes it.
HFONT createTahoma(const ScreenScale& scale, int points, bool bold);

}  // namespace today
