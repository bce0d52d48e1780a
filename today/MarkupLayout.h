// Laying out a parsed mark-up block in a rectangle: measuring its characters, breaking it into lines,
// and drawing it (or only measuring it) with the same flag values as the platform's DrawText.
#pragma once

#include <cstdint>
#include <vector>

#include "Markup.h"
#include "MarkupFonts.h"
#include "platform/wingdi.h"

namespace today {

// Layout flags.
enum MarkupLayoutFlag : UINT {
    kLayoutCentre = 0x1,        // each line centred horizontally
    kLayoutRight = 0x2,         // each line right-aligned
    kLayoutVCentre = 0x4,       // the block centred vertically
    kLayoutBottom = 0x8,        // the block aligned to the bottom
    kLayoutWordBreak = 0x10,    // lines wider than the rectangle are broken at blanks
    kLayoutSingleLine = 0x20,   // one line of all characters
    kLayoutEndEllipsis = 0x40,  // a line too wide is cut and ended with up to three dots
    kLayoutNoClip = 0x100,      // drawing is not clipped to the rectangle
    kLayoutMeasure = 0x400,     // nothing is drawn; the rectangle is set to the size needed
};

// One line: the characters from start that it takes (its line end or the blank it was broken at
// included), how many of them are shown (from start), and the width of those.
struct MarkupLine {
    int start = 0;
    int count = 0;
    int shown = 0;
    int width = 0;
    bool rule = false;  // a rule line: one line feed drawn as a horizontal line
};

// A piece of a line drawn in one font and colour: count characters from start, or, when dots is not
// 0, that many dots ending a cut line.
struct MarkupRun {
    int x = 0;
    int y = 0;
    int slot = 0;
    uint32_t colour = 0;
    int start = 0;
    int count = 0;
    int dots = 0;
    int width = 0;
};

// A rule drawn across the rectangle at the middle of its line.
struct MarkupRule {
    int y = 0;
    int left = 0;
    int right = 0;
    uint32_t colour = 0;
};

// What drawing puts on the device context.
struct MarkupPlacement {
    std::vector<MarkupRun> runs;
    std::vector<MarkupRule> rules;
};

inline constexpr int kMaxRunLength = 256;

class MarkupLayout {
  public:
    explicit MarkupLayout(MarkupText text);

    const MarkupText& text() const { return m_text; }

    // Lays the block out in *rect with the fonts on dc. With kLayoutMeasure nothing is drawn and
    // *rect's right and bottom become its left and top plus the widest line and the block's height;
    // otherwise the block is drawn with a transparent background, clipped to *rect unless
    // kLayoutNoClip. Returns the block's height (lines x line height).
    int layout(HDC dc, MarkupFonts& fonts, RECT* rect, UINT flags);

    // The pieces below, for a block already measured (layout or measure called once with the fonts).
    // Measures the characters with the fonts on dc (once per fonts object).
    void measure(HDC dc, MarkupFonts& fonts);
    int lineHeight() const { return m_lineHeight; }
    int dotWidth() const { return m_dotWidth; }
    const std::vector<int>& widths() const { return m_widths; }
    // The lines for a rectangle width and the flags (kLayoutWordBreak, kLayoutSingleLine).
    std::vector<MarkupLine> breakLines(int width, UINT flags) const;
    // Where each run and rule goes in rect, skipping lines wholly outside clip.
    MarkupPlacement place(const std::vector<MarkupLine>& lines, const RECT& rect, const RECT& clip,
                          UINT flags) const;

  private:
    void placeLine(const MarkupLine& line, int y, const RECT& rect, UINT flags, MarkupPlacement& out) const;
    void draw(HDC dc, MarkupFonts& fonts, const MarkupPlacement& placement) const;

    MarkupText m_text;
    std::vector<int> m_widths;
    int m_lineHeight = 0;
    int m_dotWidth = 0;
    const MarkupFonts* m_measuredWith = nullptr;
};

}  // namespace today
