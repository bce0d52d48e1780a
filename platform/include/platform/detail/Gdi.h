// The drawing layer's interface inside the platform: device contexts on given surfaces (the window
// manager creates window DCs with it), the screen's resolution, bitmaps' surfaces and font details.
#pragma once

#include <memory>
#include <string>

#include "platform/detail/Region.h"
#include "platform/detail/Surface.h"
#include "platform/wingdi.h"

namespace platform {

// A DC that draws on the surface: logical (0, 0) is the surface pixel origin, and nothing is drawn
// outside visible (surface coordinates), which is clipped to the surface's bounds. The DC keeps the
// surface alive; DeleteDC destroys the DC. NULL when the surface is null.
HDC createSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, const Region& visible);
// Changes a surface DC's origin and visible region (the program's own clipping is kept and applied
// on top). False for a DC that is not a surface DC.
bool setSurfaceDCArea(HDC hdc, POINT origin, const Region& visible);
// The surface the DC draws on (for a memory DC, its selected bitmap's); null for an invalid DC.
std::shared_ptr<Surface> surfaceOf(HDC hdc);
// The pixels of a bitmap; null for an invalid handle.
std::shared_ptr<Surface> surfaceOf(HBITMAP bitmap);
// A bitmap decoded from DIB bytes (BITMAPINFOHEADER, colour table, rows of 1, 4, 8, 16, 24 or 32
// bits, bottom-up or top-down), as RT_BITMAP resources hold them. NULL with ERROR_INVALID_DATA for
// malformed or truncated bytes.
HBITMAP createBitmapFromDib(const void* data, size_t size);
// Writes the bitmap as a PNG file; false for an invalid handle or a write failure.
bool writePng(HBITMAP bitmap, const std::string& path);

// The screen's logical pixels per inch (96 until set); GetDeviceCaps(LOGPIXELSX/Y) answers it and
// the stock fonts are sized for it. Values outside 48..480 are refused (false).
bool setScreenDpi(int dpi);
int screenDpi();

// The face fontconfig chose for a font: its family, file and style, and whether bold or italic are
// synthesised because the family lacks that style.
struct FontFaceInfo {
    std::string family;
    std::string file;
    bool syntheticBold = false;
    bool syntheticItalic = false;
};
bool describeFont(HFONT font, FontFaceInfo& info);
// True when the font's face has a glyph for every character of the text.
bool fontHasGlyphs(HFONT font, const std::u16string& text);

}  // namespace platform
