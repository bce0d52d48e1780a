// Text runs on surfaces: recording, covering and copying them with the pixels they stand for.

#include "TextRuns.h"

#include <algorithm>

#include "Raster.h"

namespace platform::gdi {
namespace {

bool showsSomething(const std::u16string& text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c > u' '; });
}

// The bounding box of the part of rect inside clip and the surface.
RECT visiblePart(const Surface& surface, const Region& clip, const RECT& rect) {
    RECT bounded = rectOverlap(rect, RECT{0, 0, surface.width(), surface.height()});
    RECT box{0, 0, 0, 0};
    if (rectEmpty(bounded)) return box;
    for (const RECT& piece : clip.rects()) {
        RECT part = rectOverlap(bounded, piece);
        if (rectEmpty(part)) continue;
        if (rectEmpty(box))
            box = part;
        else
            box = RECT{std::min(box.left, part.left), std::min(box.top, part.top),
                       std::max(box.right, part.right), std::max(box.bottom, part.bottom)};
    }
    return box;
}

// Applies one covering rectangle to a run; false when the run no longer shows. Text cut across its
// lines keeps showing while at least half its height does; cut from a side, what is left shows.
bool coverRun(RECT& run, const RECT& cover) {
    if (rectEmpty(rectOverlap(run, cover))) return true;
    bool fullHeight = cover.top <= run.top && cover.bottom >= run.bottom;
    bool fullWidth = cover.left <= run.left && cover.right >= run.right;
    if (fullHeight && fullWidth) return false;
    LONG height = run.bottom - run.top;
    if (fullHeight && cover.left <= run.left)
        run.left = cover.right;
    else if (fullHeight && cover.right >= run.right)
        run.right = cover.left;
    else if (fullWidth && cover.top <= run.top)
        run.top = cover.bottom;
    else if (fullWidth && cover.bottom >= run.bottom)
        run.bottom = cover.top;
    // A hole in the middle or a bitten corner leaves the run as it was: most of it still shows.
    return !rectEmpty(run) && 2 * (run.bottom - run.top) >= height;
}

// Maps a coordinate of a source span [from, from + fromSize) to the destination span.
LONG mapCoordinate(LONG v, LONG from, LONG fromSize, LONG to, LONG toSize) {
    if (fromSize == toSize) return to + (v - from);
    return to + static_cast<LONG>((static_cast<long long>(v - from) * toSize) / std::max<LONG>(1, fromSize));
}

}  // namespace

void recordTextRun(Surface& surface, const Region& clip, const RECT& cell, std::u16string text) {
    if (!showsSomething(text)) return;
    RECT shown = visiblePart(surface, clip, cell);
    if (rectEmpty(shown)) return;
    std::vector<TextRun>& runs = surface.textRuns();
    runs.erase(std::remove_if(runs.begin(), runs.end(),
                              [&](const TextRun& run) {
                                  return run.text == text && !rectEmpty(rectOverlap(run.rect, shown));
                              }),
               runs.end());
    runs.push_back(TextRun{std::move(text), shown});
}

void coverTextRuns(Surface& surface, const Region& clip, const RECT& rect) {
    std::vector<TextRun>& runs = surface.textRuns();
    if (runs.empty()) return;
    RECT bounded = rectOverlap(rect, RECT{0, 0, surface.width(), surface.height()});
    if (rectEmpty(bounded)) return;
    for (const RECT& piece : clip.rects()) {
        RECT cover = rectOverlap(bounded, piece);
        if (rectEmpty(cover)) continue;
        runs.erase(std::remove_if(runs.begin(), runs.end(),
                                  [&](TextRun& run) { return !coverRun(run.rect, cover); }),
                   runs.end());
    }
}

void copyTextRuns(const std::vector<TextRun>& sourceRuns, const RECT& sourceRect, Surface& dest,
                  const RECT& destRect, const Region& clip, bool opaque) {
    if (opaque) coverTextRuns(dest, clip, destRect);
    LONG sw = sourceRect.right - sourceRect.left, sh = sourceRect.bottom - sourceRect.top;
    LONG dw = destRect.right - destRect.left, dh = destRect.bottom - destRect.top;
    for (const TextRun& run : sourceRuns) {
        RECT inside = rectOverlap(run.rect, sourceRect);
        if (rectEmpty(inside)) continue;
        RECT moved{mapCoordinate(inside.left, sourceRect.left, sw, destRect.left, dw),
                   mapCoordinate(inside.top, sourceRect.top, sh, destRect.top, dh),
                   mapCoordinate(inside.right, sourceRect.left, sw, destRect.left, dw),
                   mapCoordinate(inside.bottom, sourceRect.top, sh, destRect.top, dh)};
        recordTextRun(dest, clip, moved, run.text);
    }
}

}  // namespace platform::gdi
