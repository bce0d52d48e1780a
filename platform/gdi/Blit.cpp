// Block transfers: BitBlt, StretchBlt (nearest neighbour), PatBlt and TransparentImage, with the
// ternary raster operations and the colour <-> monochrome conversions of the device.
#include <cstring>
#include <optional>
#include <vector>

#include "DeviceContext.h"
#include "Raster.h"
#include "TextRuns.h"
#include "platform/handles.h"
#include "platform/winerror.h"

using namespace platform;
using namespace platform::gdi;

namespace {

// Larger transfers are refused: no surface is that large and their coordinates could overflow.
constexpr int kMaxSpan = 1 << 24;

// A ternary raster operation's code is its truth table over pattern (0xF0), source (0xCC) and
// destination (0xAA); each set bit adds one minterm.
uint32_t rop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
    uint32_t result = 0;
    for (int i = 0; i < 8; ++i) {
        if ((code >> i & 1) == 0) continue;
        uint32_t term = (i & 4 ? p : ~p) & (i & 2 ? s : ~s) & (i & 1 ? d : ~d);
        result |= term;
    }
    return result & 0xFFFFFFu;
}

bool usesSource(uint8_t code) {
    return (((code >> 2) ^ code) & 0x33) != 0;
}

// Where the pixels come from and how they convert to the destination's format.
struct Source {
    std::shared_ptr<Surface> surface;
    int offsetX = 0;  // logical -> surface coordinates of the source
    int offsetY = 0;
    COLORREF bkColor = RGB(255, 255, 255);  // the source DC's background: white when converting to mono
};

struct Transfer {
    explicit Transfer(DeviceContext& dest) : dest(dest) {}
    DeviceContext& dest;
    RECT destRect;  // surface coordinates, normalised
    bool mirrorX = false, mirrorY = false;
    std::optional<Source> source;
    RECT srcRect{};   // source surface coordinates, normalised
    RECT drawable{};  // the part of destRect inside the clip's bounds
    uint8_t code = 0xCC;
    std::optional<uint32_t> transparentKey;  // source pixel value that is not copied
};

uint32_t convert(const Transfer& t, uint32_t s) {
    bool srcMono = t.source->surface->monochrome();
    bool dstMono = t.dest.surface().monochrome();
    if (srcMono && !dstMono) {
        return s != 0 ? t.dest.pixelOf(t.dest.state().bkColor) : t.dest.pixelOf(t.dest.state().textColor);
    }
    if (!srcMono && dstMono) return s == pixelFromColor(t.source->bkColor) ? 0xFFFFFFu : 0u;
    return s;
}

// Source coordinate of destination offset i in a span of n destination pixels over m source pixels.
int mapCoordinate(int i, int n, int m, bool mirror) {
    int k = static_cast<int>((2LL * i + 1) * m / (2LL * n));
    return mirror ? m - 1 - k : k;
}

void transferPiece(const Transfer& t, const RECT& piece, const std::vector<int>& srcX,
                   const std::vector<int>& srcY) {
    Surface& dst = t.dest.surface();
    uint32_t pattern = t.dest.pixelOf(t.dest.state().brush->color);
    const Surface* src = t.source ? t.source->surface.get() : nullptr;
    for (int y = piece.top; y < piece.bottom; ++y) {
        uint32_t* row = dst.row(y);
        const uint32_t* srcRow = nullptr;
        if (src != nullptr) {
            int sy = srcY[y - t.drawable.top];
            if (sy < 0 || sy >= src->height()) continue;
            srcRow = src->row(sy);
        }
        for (int x = piece.left; x < piece.right; ++x) {
            uint32_t s = 0;
            if (srcRow != nullptr) {
                int sx = srcX[x - t.drawable.left];
                if (sx < 0 || sx >= src->width()) continue;
                s = srcRow[sx];
                if (t.transparentKey && s == *t.transparentKey) continue;
                s = convert(t, s);
            }
            row[x] = t.code == 0xCC ? s : rop3(t.code, pattern, s, row[x]);
        }
    }
}

// Plain copies of equal size and format go row by row with memmove.
bool copyFast(const Transfer& t, const RECT& piece) {
    if (t.code != 0xCC || t.transparentKey || t.mirrorX || t.mirrorY) return false;
    if (t.source->surface->monochrome() != t.dest.surface().monochrome()) return false;
    int dx = t.srcRect.left - t.destRect.left, dy = t.srcRect.top - t.destRect.top;
    RECT inside =
        rectOverlap(piece, RECT{-dx, -dy, t.source->surface->width() - dx, t.source->surface->height() - dy});
    if (rectEmpty(inside)) return true;
    size_t bytes = static_cast<size_t>(inside.right - inside.left) * sizeof(uint32_t);
    for (int y = inside.top; y < inside.bottom; ++y) {
        std::memmove(t.dest.surface().row(y) + inside.left, t.source->surface->row(y + dy) + inside.left + dx,
                     bytes);
    }
    return true;
}

// Codes that replace the destination's pixels without reading them.
bool replacesDestination(uint8_t code) {
    return code == 0xCC || code == 0xF0 || code == 0x00 || code == 0xFF;
}

// The text shown in the destination after a transfer: a plain copy brings the source's runs along
// (over the runs it covers, unless it left out a transparent colour); a fill covers runs.
void carryTextRuns(const Transfer& t, const std::vector<TextRun>& sourceRuns) {
    bool opaque = replacesDestination(t.code) && !t.transparentKey;
    if (t.source && t.code == 0xCC && !t.mirrorX && !t.mirrorY)
        copyTextRuns(sourceRuns, t.srcRect, t.dest.surface(), t.destRect, t.dest.clip(), opaque);
    else if (opaque)
        coverTextRuns(t.dest.surface(), t.dest.clip(), t.destRect);
}

void run(Transfer& t) {
    int w = t.destRect.right - t.destRect.left, h = t.destRect.bottom - t.destRect.top;
    int sw = t.srcRect.right - t.srcRect.left, sh = t.srcRect.bottom - t.srcRect.top;
    bool stretched = t.source && (sw != w || sh != h);
    // Taken before the pixels move: a copy within one surface reads from a snapshot without runs.
    std::vector<TextRun> sourceRuns;
    if (t.source) sourceRuns = t.source->surface->textRuns();
    std::shared_ptr<Surface> snapshot;
    if (t.source && t.source->surface == t.dest.surfacePtr() &&
        !rectEmpty(rectOverlap(t.srcRect, t.destRect))) {
        // Copying within one surface: read from a snapshot so that overlapping pieces see the original.
        snapshot = std::make_shared<Surface>(t.source->surface->width(), t.source->surface->height());
        for (int y = 0; y < snapshot->height(); ++y) {
            std::memcpy(snapshot->row(y), t.source->surface->row(y), snapshot->width() * sizeof(uint32_t));
        }
        snapshot->setMonochrome(t.source->surface->monochrome());
        t.source->surface = snapshot;
    }
    // Source coordinates are mapped only for the destination part that can be drawn.
    t.drawable = rectOverlap(t.destRect, t.dest.clip().bounds());
    if (rectEmpty(t.drawable)) return;
    std::vector<int> srcX, srcY;
    if (t.source) {
        for (int x = t.drawable.left; x < t.drawable.right; ++x) {
            srcX.push_back(t.srcRect.left + mapCoordinate(x - t.destRect.left, w, sw, t.mirrorX));
        }
        for (int y = t.drawable.top; y < t.drawable.bottom; ++y) {
            srcY.push_back(t.srcRect.top + mapCoordinate(y - t.destRect.top, h, sh, t.mirrorY));
        }
    }
    forEachClipped(t.dest.surface(), t.dest.clip(), t.destRect, [&](const RECT& piece) {
        if (t.source && !stretched && copyFast(t, piece)) return;
        transferPiece(t, piece, srcX, srcY);
    });
    carryTextRuns(t, sourceRuns);
}

// Normalises a span given by origin and signed size; returns whether it was mirrored.
bool normaliseSpan(int& origin, int& size) {
    if (size >= 0) return false;
    origin += size;
    size = -size;
    return true;
}

bool sourceFromHandle(HANDLE src, Source& out) {
    if (isDc(src)) {
        DeviceContext* s = dcOf(static_cast<HDC>(src));
        out = Source{s->surfacePtr(), s->offsetX(), s->offsetY(), s->state().bkColor};
        return true;
    }
    auto bitmap = objectAs<BitmapObject>(src);
    if (!bitmap) return false;
    out = Source{bitmap->surface, 0, 0, RGB(255, 255, 255)};
    return true;
}

BOOL stretch(HDC hdc, int x, int y, int w, int h, HANDLE src, int xs, int ys, int ws, int hs, DWORD rop,
             std::optional<COLORREF> transparent) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return FALSE;
    for (int size : {w, h, ws, hs}) {
        if (size > kMaxSpan || size < -kMaxSpan) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    }
    uint8_t code = static_cast<uint8_t>(rop >> 16);
    Transfer t(*dc);
    t.code = code;
    t.mirrorX = normaliseSpan(x, w) != normaliseSpan(xs, ws);
    t.mirrorY = normaliseSpan(y, h) != normaliseSpan(ys, hs);
    t.destRect = dc->toSurface(RECT{x, y, x + w, y + h});
    if (usesSource(code) || transparent) {
        Source s;
        if (!sourceFromHandle(src, s)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (ws == 0 || hs == 0) return TRUE;
        t.srcRect = RECT{xs + s.offsetX, ys + s.offsetY, xs + s.offsetX + ws, ys + s.offsetY + hs};
        if (transparent)
            t.transparentKey = s.surface->monochrome() ? (*transparent & 0xFFFFFF ? 0xFFFFFFu : 0u)
                                                       : pixelFromColor(*transparent);
        t.source = std::move(s);
    }
    if (w == 0 || h == 0) return TRUE;
    run(t);
    return TRUE;
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
    return stretch(dest, x, y, width, height, src, xSrc, ySrc, width, height, rop, std::nullopt);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int widthSrc,
                int heightSrc, DWORD rop) {
    return stretch(dest, x, y, width, height, src, xSrc, ySrc, widthSrc, heightSrc, rop, std::nullopt);
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    if (usesSource(static_cast<uint8_t>(rop >> 16))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return stretch(hdc, x, y, width, height, nullptr, 0, 0, width, height, rop, std::nullopt);
}

BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HANDLE src, int xSrc, int ySrc,
                      int widthSrc, int heightSrc, COLORREF transparent) {
    if (width < 0 || height < 0 || widthSrc < 0 || heightSrc < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return stretch(dest, x, y, width, height, src, xSrc, ySrc, widthSrc, heightSrc, SRCCOPY,
                   transparent & 0xFFFFFF);
}
