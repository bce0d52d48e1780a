// The font calls of the drawing API: creating fonts, their metrics and faces, measuring text and
// ExtTextOutW.
#include <algorithm>
#include <cstring>

#include "Raster.h"
#include "TextRender.h"
#include "platform/detail/Gdi.h"
#include "platform/handles.h"
#include "platform/winerror.h"

using namespace platform;
using namespace platform::gdi;

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (font == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    LOGFONTW lf = *font;
    lf.lfFaceName[LF_FACESIZE - 1] = u'\0';
    return static_cast<HFONT>(registerObject(std::make_shared<FontObject>(lf)));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = static_cast<BYTE>(italic != 0);
    lf.lfUnderline = static_cast<BYTE>(underline != 0);
    lf.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
    lf.lfCharSet = static_cast<BYTE>(charSet);
    lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    lf.lfQuality = static_cast<BYTE>(quality);
    lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    for (int i = 0; faceName != nullptr && i < LF_FACESIZE - 1 && faceName[i] != u'\0'; ++i) {
        lf.lfFaceName[i] = faceName[i];
    }
    return CreateFontIndirectW(&lf);
}

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr || metrics == nullptr) return FALSE;
    std::lock_guard guard(fontLock());
    FontInstance* font = fontOf(*dc);
    if (font == nullptr) return FALSE;
    *metrics = font->metrics();
    return TRUE;
}

int GetTextFaceW(HDC hdc, int count, LPWSTR faceName) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return 0;
    LOGFONTW lf = dc->state().font->logFont();
    int length =
        static_cast<int>(std::find(lf.lfFaceName, lf.lfFaceName + LF_FACESIZE, u'\0') - lf.lfFaceName);
    if (faceName == nullptr) return length + 1;
    if (count <= 0) return 0;
    int n = std::min(length, count - 1);
    std::copy(lf.lfFaceName, lf.lfFaceName + n, faceName);
    faceName[n] = u'\0';
    return n;
}

BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT partial,
                           LPSIZE size) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr || size == nullptr || count < 0 || (text == nullptr && count > 0)) {
        if (dc != nullptr) SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard guard(fontLock());
    FontInstance* font = fontOf(*dc);
    if (font == nullptr) return FALSE;
    std::vector<int> widths(static_cast<size_t>(count));
    size->cx = textWidth(*font, text, count, widths.data());
    size->cy = font->metrics().tmHeight;
    if (partial != nullptr) std::copy(widths.begin(), widths.end(), partial);
    if (fit != nullptr) {
        *fit = static_cast<int>(std::upper_bound(widths.begin(), widths.end(), maxExtent) - widths.begin());
    }
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
    return GetTextExtentExPointW(hdc, text, count, 0, nullptr, nullptr, size);
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const int* dx) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr || (text == nullptr && count > 0)) return FALSE;
    DeviceContext::State& s = dc->state();
    if ((options & ETO_OPAQUE) && rect != nullptr) {
        fillRect(dc->surface(), dc->clip(), dc->toSurface(*rect), dc->pixelOf(s.bkColor));
    }
    if (count == 0) return TRUE;
    std::lock_guard guard(fontLock());
    FontInstance* font = fontOf(*dc);
    if (font == nullptr) return FALSE;
    const TEXTMETRICW& tm = font->metrics();
    int n = static_cast<int>(count);
    bool updateCp = (s.textAlign & TA_UPDATECP) != 0;
    if (updateCp) {
        x = s.position.x;
        y = s.position.y;
    }
    int width = 0;
    if (dx != nullptr) {
        for (int i = 0; i < n; ++i)
            width += dx[i];
    } else {
        width = textWidth(*font, text, n);
    }
    UINT horizontal = s.textAlign & TA_CENTER;
    if (horizontal == TA_CENTER)
        x -= width / 2;
    else if (horizontal == TA_RIGHT)
        x -= width;
    UINT vertical = s.textAlign & TA_BASELINE;
    int top = vertical == TA_BASELINE ? y - tm.tmAscent : vertical == TA_BOTTOM ? y - tm.tmHeight : y;
    const RECT* clip = (options & ETO_CLIPPED) && rect != nullptr ? rect : nullptr;
    drawRun(*dc, *font, x, top, text, n, dx, clip, s.bkMode == OPAQUE);
    recordRun(*dc, x, top, width, tm.tmHeight, clip, std::u16string(text, static_cast<size_t>(n)));
    if (updateCp && horizontal == TA_LEFT) s.position.x = x + width;
    return TRUE;
}

namespace platform {

bool describeFont(HFONT font, FontFaceInfo& info) {
    auto f = gdi::objectAs<gdi::FontObject>(font);
    if (!f) return false;
    std::lock_guard guard(gdi::fontLock());
    gdi::FontInstance* instance = f->instance();
    if (instance == nullptr) return false;
    const gdi::FaceMatch& m = instance->match();
    info = FontFaceInfo{m.family, m.file, m.syntheticBold, m.syntheticItalic};
    return true;
}

bool fontHasGlyphs(HFONT font, const std::u16string& text) {
    auto f = gdi::objectAs<gdi::FontObject>(font);
    if (!f) return false;
    std::lock_guard guard(gdi::fontLock());
    gdi::FontInstance* instance = f->instance();
    if (instance == nullptr) return false;
    int count = static_cast<int>(text.size());
    for (int i = 0; i < count;) {
        if (!instance->hasGlyph(gdi::nextCodePoint(text.data(), count, i))) return false;
    }
    return true;
}

}  // namespace platform
