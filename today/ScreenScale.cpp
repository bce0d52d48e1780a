// The screen's resolution and the details' font.
#include "ScreenScale.h"

#include "platform/windows.h"

namespace today {

namespace {

constexpr int kPointsPerInch = 72;
constexpr LONG kNormalWeight = 400;
constexpr LONG kBoldWeight = 700;
constexpr const WCHAR* kFace = u"Tahoma";

}  // namespace

ScreenScale ScreenScale::current() {
    HDC screen = GetDC(nullptr);
    ScreenScale scale{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
    ReleaseDC(nullptr, screen);
    if (scale.dpiX <= 0) scale.dpiX = 96;
    if (scale.dpiY <= 0) scale.dpiY = 96;
    return scale;
}

HFONT createTahoma(const ScreenScale& scale, int points, bool bold) {
    LOGFONTW font{};
    font.lfHeight = -(points * scale.dpiY + kPointsPerInch / 2) / kPointsPerInch;
    font.lfWeight = bold ? kBoldWeight : kNormalWeight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    for (int i = 0; kFace[i] != 0 && i < LF_FACESIZE - 1; ++i)
        font.lfFaceName[i] = kFace[i];
    return CreateFontIndirectW(&font);
}

}  // namespace today
