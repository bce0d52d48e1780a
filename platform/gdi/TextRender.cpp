// Runs of text: widths from the glyph cache, anti-aliased glyphs blended in the text colour,
// background cells, underline and strike-out.
#include "TextRender.h"

#include "Raster.h"
#include "TextRuns.h"
#include "platform/detail/Gdi.h"
#include "platform/handles.h"
#include "platform/winerror.h"

namespace platform::gdi {

LOGFONTW FontObject::logFont() const {
    LOGFONTW lf = m_logFont;
    if (m_points > 0) lf.lfHeight = -((screenDpi() * m_points * 2 + 72) / 144);
    return lf;
}

FontInstance* FontObject::instance() {
    int dpi = screenDpi();
    if (!m_instance || m_instanceDpi != dpi) {
        m_instance = fontInstanceFor(logFont(), dpi);
        m_instanceDpi = dpi;
    }
    return m_instance.get();
}

FontInstance* fontOf(DeviceContext& dc) {
    FontInstance* font = dc.state().font->instance();
    if (font == nullptr) SetLastError(ERROR_INVALID_HANDLE);
    return font;
}

int textWidth(FontInstance& font, const char16_t* text, int count, int* partial) {
    int width = 0;
    for (int i = 0; i < count;) {
        int start = i;
        width += font.glyph(nextCodePoint(text, count, i)).advance;
        if (partial == nullptr) continue;
        for (int k = start; k < i; ++k)
            partial[k] = width;
    }
    return width;
}

namespace {

Region clipFor(DeviceContext& dc, const RECT* clip) {
    Region region = dc.clip();
    if (clip != nullptr) region.intersect(dc.toSurface(*clip));
    return region;
}

void drawLine(DeviceContext& dc, const Region& region, int x0, int x1, int y, const LineMetrics& line) {
    RECT r{x0, y + line.offset, x1, y + line.offset + line.thickness};
    fillRect(dc.surface(), region, r, dc.pixelOf(dc.state().textColor));
}

}  // namespace

int drawRun(DeviceContext& dc, FontInstance& font, int x, int top, const char16_t* text, int count,
            const int* dx, const RECT* clip, bool opaque) {
    Region region = clipFor(dc, clip);
    const TEXTMETRICW& tm = font.metrics();
    int sx = x + dc.offsetX();
    int baseline = top + dc.offsetY() + tm.tmAscent;
    int width = 0;
    if (dx != nullptr) {
        for (int i = 0; i < count; ++i)
            width += dx[i];
    } else {
        width = textWidth(font, text, count);
    }
    if (opaque) {
        RECT cell{sx, top + dc.offsetY(), sx + width, top + dc.offsetY() + tm.tmHeight};
        fillRect(dc.surface(), region, cell, dc.pixelOf(dc.state().bkColor));
    }
    if (region.empty()) return width;
    uint32_t pixel = dc.pixelOf(dc.state().textColor);
    int pen = sx;
    for (int i = 0; i < count;) {
        int start = i;
        const Glyph& g = font.glyph(nextCodePoint(text, count, i));
        if (!g.coverage.empty()) {
            blendCoverage(dc.surface(), region, pen + g.left, baseline - g.top, g.coverage.data(), g.width,
                          g.rows, g.width, pixel);
        }
        if (dx == nullptr) {
            pen += g.advance;
        } else {
            for (int k = start; k < i; ++k)
                pen += dx[k];
        }
    }
    if (font.underlined()) drawLine(dc, region, sx, sx + width, baseline, font.underline());
    if (font.struckOut()) drawLine(dc, region, sx, sx + width, baseline, font.strikeOut());
    return width;
}

void recordRun(DeviceContext& dc, int x, int top, int width, int height, const RECT* clip,
               std::u16string text) {
    RECT cell = dc.toSurface(RECT{x, top, x + width, top + height});
    recordTextRun(dc.surface(), clipFor(dc, clip), cell, std::move(text));
}

void underlineChars(DeviceContext& dc, FontInstance& font, int x, int top, const char16_t* text, int from,
                    int count, const RECT* clip) {
    int before = textWidth(font, text, from);
    int width = textWidth(font, text + from, count);
    Region region = clipFor(dc, clip);
    int sx = x + dc.offsetX() + before;
    drawLine(dc, region, sx, sx + width, top + dc.offsetY() + font.metrics().tmAscent, font.underline());
}

}  // namespace platform::gdi
