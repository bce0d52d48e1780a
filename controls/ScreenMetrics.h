// The screen metrics every control reads (resolution, high-resolution and 400/800 flags), the
// conversion of 96-dpi design units to device pixels, and the program's shared font set and pens.
#pragma once

#include "platform/windows.h"

struct ScreenMetrics {
    int resolutionX = 96;  // logical pixels per inch, horizontally
    int resolutionY = 96;  // and vertically
    int screenWidth = 240;
    int screenHeight = 320;
    // Either resolution at least 132: controls load the large variant of every skin bitmap.
    bool highResolution = false;
    // The screen is not exactly 320 x 320 and its width or height is 400 or 800 pixels.
    bool screen400or800 = false;
};

// The current metrics (96 dpi, 240 x 320 until set).
const ScreenMetrics& screenMetrics();
// Sets the metrics and derives both flags; the shared fonts are released, so that they are created
// again for the new resolution when next asked for. Non-positive resolutions count as 96.
void setScreenMetrics(int resolutionX, int resolutionY, int screenWidth, int screenHeight);
// Fills the metrics from the screen: LOGPIXELSX/LOGPIXELSY of a screen device context and the
// screen's size. Called once by the shell at start-up, before the first control is built.
void initScreenMetrics();

// Device pixels for v units at 96 dpi: (resolution * v + 48) / 96 with integer division, with the
// horizontal or vertical resolution; a negative v gives -scale(-v).
int scaleX(int v);
int scaleY(int v);

// The shared font set: eight indexes, all "Tahoma" on the stock system font's other attributes,
// height -(resolutionY * points / 72 + 0.5) truncated. 0: 8 pt underlined; 1 and 4 (one object):
// 8 pt; 2, 3, 7: 10 pt bold; 5: 8 pt; 6: 8 pt bold. Created when first asked for and owned by the set;
// NULL for an index outside 0..7 or when the font cannot be created.
inline constexpr int kSharedFontCount = 8;
HFONT sharedFont(int index);
// The set's two black pens of width scaleY(1) (index 0 or 1), created when first asked for.
HPEN sharedPen(int index);
// Deletes every font and pen of the set (they are created again when next asked for).
void releaseSharedFonts();
