// The screen metrics, the 96-dpi unit conversion and the lazily created shared font set.

#include "ScreenMetrics.h"

#include <array>

namespace {

constexpr int kDesignDpi = 96;
constexpr int kHighResolutionDpi = 132;

struct FontShape {
    int points;
    int weight;
    bool underline;
    int sameObjectAs;  // index whose object this index shares; -1 for its own
};

constexpr std::array<FontShape, kSharedFontCount> kFontShapes{{
    {8, FW_NORMAL, true, -1},
    {8, FW_NORMAL, false, -1},
    {10, FW_BOLD, false, -1},
    {10, FW_BOLD, false, -1},
    {8, FW_NORMAL, false, 1},
    {8, FW_NORMAL, false, -1},
    {8, FW_BOLD, false, -1},
    {10, FW_BOLD, false, -1},
}};

struct SharedSet {
    ScreenMetrics metrics;
    std::array<HFONT, kSharedFontCount> fonts{};
    std::array<HPEN, 2> pens{};
};

SharedSet& shared() {
    static SharedSet set;
    return set;
}

int scale(int resolution, int v) {
    if (v < 0) return -scale(resolution, -v);
    return static_cast<int>((static_cast<long long>(resolution) * v + kDesignDpi / 2) / kDesignDpi);
}

HFONT createFont(const FontShape& shape) {
    LOGFONTW font{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(font), &font);
    font.lfHeight = -static_cast<LONG>(shared().metrics.resolutionY * shape.points / 72.0 + 0.5);
    font.lfWidth = 0;
    font.lfWeight = shape.weight;
    font.lfUnderline = shape.underline ? 1 : 0;
    const WCHAR face[] = u"Tahoma";
    for (size_t i = 0; i < sizeof(face) / sizeof(face[0]); ++i)
        font.lfFaceName[i] = face[i];
    return CreateFontIndirectW(&font);
}

}  // namespace

const ScreenMetrics& screenMetrics() {
    return shared().metrics;
}

void setScreenMetrics(int resolutionX, int resolutionY, int screenWidth, int screenHeight) {
    releaseSharedFonts();
    ScreenMetrics& m = shared().metrics;
    m.resolutionX = resolutionX > 0 ? resolutionX : kDesignDpi;
    m.resolutionY = resolutionY > 0 ? resolutionY : kDesignDpi;
    m.screenWidth = screenWidth;
    m.screenHeight = screenHeight;
    m.highResolution = m.resolutionX >= kHighResolutionDpi || m.resolutionY >= kHighResolutionDpi;
    bool square320 = screenWidth == 320 && screenHeight == 320;
    bool has400or800 = screenWidth == 400 || screenWidth == 800 || screenHeight == 400 || screenHeight == 800;
    m.screen400or800 = !square320 && has400or800;
}

void initScreenMetrics() {
    HDC screen = GetDC(nullptr);
    int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    setScreenMetrics(dpiX, dpiY, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

int scaleX(int v) {
    return scale(shared().metrics.resolutionX, v);
}

int scaleY(int v) {
    return scale(shared().metrics.resolutionY, v);
}

HFONT sharedFont(int index) {
    if (index < 0 || index >= kSharedFontCount) return nullptr;
    const FontShape& shape = kFontShapes[index];
    int owner = shape.sameObjectAs >= 0 ? shape.sameObjectAs : index;
    HFONT& font = shared().fonts[owner];
    if (font == nullptr) font = createFont(kFontShapes[owner]);
    return font;
}

HPEN sharedPen(int index) {
    if (index < 0 || index >= static_cast<int>(shared().pens.size())) return nullptr;
    HPEN& pen = shared().pens[index];
    if (pen == nullptr) pen = CreatePen(PS_SOLID, scaleY(1), RGB(0, 0, 0));
    return pen;
}

void releaseSharedFonts() {
    for (HFONT& font : shared().fonts) {
        if (font != nullptr) DeleteObject(font);
        font = nullptr;
    }
    for (HPEN& pen : shared().pens) {
        if (pen != nullptr) DeleteObject(pen);
        pen = nullptr;
    }
}
