// Measuring, line breaking, placing and drawing a mark-up block.
#include "MarkupLayout.h"

#include <algorithm>

#include "platform/windows.h"

namespace today {

namespace {

constexpr int kEllipsisDots = 3;
constexpr char16_t kDot = u'.';
constexpr char16_t kBlank = u' ';
constexpr char16_t kDots[kEllipsisDots] = {kDot, kDot, kDot};

bool isLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n';
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c < 0xDC00;
}

bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

}  // namespace

MarkupLayout::MarkupLayout(MarkupText text) : m_text(std::move(text)) {}

void MarkupLayout::measure(HDC dc, MarkupFonts& fonts) {
    if (m_measuredWith == &fonts && m_widths.size() == m_text.size()) return;
    const size_t n = m_text.size();
    m_widths.assign(n, 0);
    m_lineHeight = 0;
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = m_text.characters[i];
        const int slot = fontSlotOf(m_text.attributes[i]);
        m_lineHeight = std::max(m_lineHeight, fonts.height(dc, slot));
        if (isLineEnd(c)) continue;
        // A surrogate pair is one glyph: its width goes to the high half, the low half takes none.
        if (isHighSurrogate(c) && i + 1 < n && isLowSurrogate(m_text.characters[i + 1])) {
            m_widths[i] = fonts.width(dc, slot, c, m_text.characters[i + 1]);
            ++i;
            continue;
        }
        m_widths[i] = fonts.width(dc, slot, c);
    }
    if (m_lineHeight == 0) m_lineHeight = fonts.height(dc, 0);
    m_dotWidth = fonts.width(dc, 0, kDot);
    m_measuredWith = &fonts;
}

std::vector<MarkupLine> MarkupLayout::breakLines(int width, UINT flags) const {
    const int n = static_cast<int>(m_text.size());
    std::vector<MarkupLine> lines;
    if (flags & kLayoutSingleLine) {
        int total = 0;
        for (int w : m_widths)
            total += w;
        if (n > 0) lines.push_back({0, n, n, total, false});
        return lines;
    }
    const bool wordBreak = (flags & kLayoutWordBreak) != 0;
    const auto& chars = m_text.characters;
    auto isRule = [&](int i) { return chars[i] == u'\n' && (m_text.attributes[i] & kMarkupRule) != 0; };
    int start = 0, lineWidth = 0, lastBlank = -1;
    for (int i = 0; i < n;) {
        const char16_t c = chars[i];
        if (isRule(i)) {
            if (i > start) lines.push_back({start, i - start, i - start, lineWidth, false});
            lines.push_back({i, 1, 0, 0, true});
            start = ++i, lineWidth = 0, lastBlank = -1;
            continue;
        }
        if (isLineEnd(c)) {
            int end = i + 1;
            // CR LF and LF CR are one break.
            if (end < n && isLineEnd(chars[end]) && chars[end] != c && !isRule(end)) ++end;
            lines.push_back({start, end - start, i - start, lineWidth, false});
            start = i = end, lineWidth = 0, lastBlank = -1;
            continue;
        }
        lineWidth += m_widths[static_cast<size_t>(i)];
        if (c == kBlank) lastBlank = i;
        if (wordBreak && lineWidth > width && i > start && lastBlank >= start) {
            // Break at the last blank; the blank is dropped and what follows it starts the next line.
            int shownWidth = 0;
            for (int k = start; k < lastBlank; ++k)
                shownWidth += m_widths[static_cast<size_t>(k)];
            lines.push_back({start, lastBlank + 1 - start, lastBlank - start, shownWidth, false});
            lineWidth -= shownWidth + m_widths[static_cast<size_t>(lastBlank)];
            start = lastBlank + 1, lastBlank = -1;
        }
        ++i;
    }
    if (start < n) lines.push_back({start, n - start, n - start, lineWidth, false});
    return lines;
}

MarkupPlacement MarkupLayout::place(const std::vector<MarkupLine>& lines, const RECT& rect, const RECT& clip,
                                    UINT flags) const {
    MarkupPlacement placement;
    const int blockHeight = static_cast<int>(lines.size()) * m_lineHeight;
    int y = rect.top;
    if (flags & kLayoutBottom)
        y = rect.bottom - blockHeight;
    else if (flags & kLayoutVCentre)
        y = rect.top + (rect.bottom - rect.top - blockHeight) / 2;
    for (const MarkupLine& line : lines) {
        if (y + m_lineHeight > clip.top && y < clip.bottom) {
            if (line.rule)
                placement.rules.push_back({y + m_lineHeight / 2, static_cast<int>(rect.left),
                                           static_cast<int>(rect.right),
                                           m_text.colours[static_cast<size_t>(line.start)]});
            else
                placeLine(line, y, rect, flags, placement);
        }
        y += m_lineHeight;
    }
    return placement;
}

void MarkupLayout::placeLine(const MarkupLine& line, int y, const RECT& rect, UINT flags,
                             MarkupPlacement& out) const {
    const int room = rect.right - rect.left;
    int shown = line.shown, width = line.width, dots = 0;
    if ((flags & kLayoutEndEllipsis) && width > room) {
        while (shown > 0 && width + kEllipsisDots * m_dotWidth > room)
            width -= m_widths[static_cast<size_t>(line.start + --shown)];
        // The low half of a surrogate pair is never kept without its high half.
        if (shown > 0 && isHighSurrogate(m_text.characters[static_cast<size_t>(line.start + shown - 1)]))
            width -= m_widths[static_cast<size_t>(line.start + --shown)];
        while (dots < kEllipsisDots && width + (dots + 1) * m_dotWidth <= room)
            ++dots;
    }
    const int drawnWidth = width + dots * m_dotWidth;
    int x = rect.left;
    if (flags & kLayoutRight)
        x = rect.right - drawnWidth;
    else if (flags & kLayoutCentre)
        x = rect.left + (room - drawnWidth) / 2;
    uint32_t lastColour = kMarkupBlack;
    for (int i = line.start, end = line.start + shown; i < end;) {
        if (isLineEnd(m_text.characters[static_cast<size_t>(i)])) {
            ++i;
            continue;
        }
        MarkupRun run{x,
                      y,
                      fontSlotOf(m_text.attributes[static_cast<size_t>(i)]),
                      m_text.colours[static_cast<size_t>(i)],
                      i,
                      0,
                      0,
                      0};
        while (i < end && run.count < kMaxRunLength &&
               !isLineEnd(m_text.characters[static_cast<size_t>(i)]) &&
               fontSlotOf(m_text.attributes[static_cast<size_t>(i)]) == run.slot &&
               m_text.colours[static_cast<size_t>(i)] == run.colour) {
            // A run never ends between the halves of a surrogate pair.
            if (run.count == kMaxRunLength - 1 && isHighSurrogate(m_text.characters[static_cast<size_t>(i)]))
                break;
            run.width += m_widths[static_cast<size_t>(i)];
            ++run.count, ++i;
        }
        x += run.width;
        lastColour = run.colour;
        out.runs.push_back(run);
    }
    if (dots > 0) out.runs.push_back({x, y, 0, lastColour, line.start + shown, 0, dots, dots * m_dotWidth});
}

void MarkupLayout::draw(HDC dc, MarkupFonts& fonts, const MarkupPlacement& placement) const {
    for (const MarkupRule& rule : placement.rules) {
        HPEN pen = CreatePen(PS_SOLID, 1, rule.colour);
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, rule.left, rule.y, nullptr);
        LineTo(dc, rule.right, rule.y);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    const std::vector<int> dotWidths(kEllipsisDots, m_dotWidth);
    for (const MarkupRun& run : placement.runs) {
        SelectObject(dc, fonts.font(run.slot));
        SetTextColor(dc, run.colour);
        // The advances are the measured widths, so that what is drawn takes exactly what was measured.
        if (run.dots > 0)
            ExtTextOutW(dc, run.x, run.y, 0, nullptr, kDots, static_cast<UINT>(run.dots), dotWidths.data());
        else
            ExtTextOutW(dc, run.x, run.y, 0, nullptr, m_text.characters.data() + run.start,
                        static_cast<UINT>(run.count), m_widths.data() + run.start);
    }
}

int MarkupLayout::layout(HDC dc, MarkupFonts& fonts, RECT* rect, UINT flags) {
    if (dc == nullptr || rect == nullptr) return 0;
    measure(dc, fonts);
    const std::vector<MarkupLine> lines = breakLines(rect->right - rect->left, flags);
    const int height = static_cast<int>(lines.size()) * m_lineHeight;
    if (flags & kLayoutMeasure) {
        int widest = 0;
        for (const MarkupLine& line : lines)
            widest = std::max(widest, line.width);
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }
    const int saved = SaveDC(dc);
    if (!(flags & kLayoutNoClip)) IntersectClipRect(dc, rect->left, rect->top, rect->right, rect->bottom);
    RECT clip{};
    if (GetClipBox(dc, &clip) == ERROR) clip = *rect;
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    draw(dc, fonts, place(lines, *rect, clip, flags));
    RestoreDC(dc, saved);
    return height;
}

}  // namespace today
