// Laying out mark-up blocks with the real fonts on a memory DC: line breaks, rules, the flags, runs,
// the end ellipsis, style fonts, and a property test over many random blocks and rectangles.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>

#include "MarkupLayout.h"
#include "ScreenScale.h"
#include "UserTesting.h"
#include "platform/windows.h"

namespace today {
namespace {

constexpr int kCanvasWidth = 400;
constexpr int kCanvasHeight = 300;

class MarkupLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_scope.emplace();
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateCompatibleBitmap(m_dc, kCanvasWidth, kCanvasHeight);
        m_oldBitmap = SelectObject(m_dc, m_bitmap);
        m_font = createTahoma(ScreenScale{96, 96}, 9, false);
        m_fonts.emplace(m_font);
    }
    void TearDown() override {
        m_fonts.reset();
        DeleteObject(m_font);
        SelectObject(m_dc, m_oldBitmap);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
        m_scope.reset();
    }

    MarkupLayout measured(const std::u16string& markup) {
        MarkupLayout block(parseMarkup(markup));
        block.measure(m_dc, *m_fonts);
        return block;
    }
    // A word of capital Ws at least pixels wide in the normal font.
    std::u16string wordOfWidth(int pixels) {
        std::u16string word;
        for (int width = 0; width < pixels; width += m_fonts->width(m_dc, 0, u'W'))
            word += u'W';
        return word;
    }
    RECT measure(MarkupLayout& block, int width, UINT flags) {
        RECT rect{10, 20, 10 + width, 20};
        block.layout(m_dc, *m_fonts, &rect, flags | kLayoutMeasure);
        return rect;
    }
    void clear() {
        RECT all{0, 0, kCanvasWidth, kCanvasHeight};
        FillRect(m_dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    // The columns holding any pixel that is not white, as [first, last]; nullopt when none does.
    std::optional<std::pair<int, int>> inkedColumns() {
        std::optional<std::pair<int, int>> columns;
        for (int x = 0; x < kCanvasWidth; ++x)
            for (int y = 0; y < kCanvasHeight; ++y)
                if (GetPixel(m_dc, x, y) != RGB(255, 255, 255)) {
                    if (!columns) columns.emplace(x, x);
                    columns->second = x;
                    break;
                }
        return columns;
    }

    std::optional<platform::testing::WindowTestScope> m_scope;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    HFONT m_font = nullptr;
    std::optional<MarkupFonts> m_fonts;
};

TEST_F(MarkupLayoutTest, AnOverLongWordStaysOneLineAndTheEllipsisCutsIt) {
    MarkupLayout block = measured(u"<b>A</b>" + wordOfWidth(300));
    const auto lines = block.breakLines(200, kLayoutWordBreak);
    ASSERT_EQ(lines.size(), 1u) << "there is no blank to break at";
    EXPECT_GT(lines[0].width, 300);
    EXPECT_GT(measure(block, 200, kLayoutWordBreak).right - 10, 300);

    const RECT rect{0, 0, 200, 50};
    const MarkupPlacement cut = block.place(lines, rect, rect, kLayoutWordBreak | kLayoutEndEllipsis);
    ASSERT_FALSE(cut.runs.empty());
    const MarkupRun& dots = cut.runs.back();
    EXPECT_EQ(dots.dots, 3);
    EXPECT_LE(dots.x + dots.width, 200);
    EXPECT_EQ(cut.runs.front().slot, 1) << "the A keeps its bold font";
    // Drawn: the dots end inside the rectangle; without the flag the word runs to its edge.
    clear();
    RECT drawn = rect;
    block.layout(m_dc, *m_fonts, &drawn, kLayoutWordBreak | kLayoutEndEllipsis);
    ASSERT_TRUE(inkedColumns());
    EXPECT_LT(inkedColumns()->second, 200);
    clear();
    block.layout(m_dc, *m_fonts, &drawn, kLayoutWordBreak);
    EXPECT_EQ(inkedColumns()->second, 199) << "clipped at the rectangle";
    clear();
    block.layout(m_dc, *m_fonts, &drawn, kLayoutWordBreak | kLayoutNoClip);
    EXPECT_GT(inkedColumns()->second, 280) << "not clipped";
}

TEST_F(MarkupLayoutTest, LineEndsAndRulesMakeLines) {
    const struct {
        const char16_t* markup;
        int lines;
    } cases[] = {
        {u"line1\nline2", 2},   {u"line1\n<l>line2", 3},
        {u"line1<l>line2", 3},  {u"line1\r\nline2", 2},
        {u"line1\n\rline2", 2}, {u"line1\r\rline2", 3},
        {u"a\n\nb", 3},         {u"a\n", 1},
        {u"<l><l>", 2},         {u"", 0},
        {u"<l>\n", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::u16string(c.markup)));
        MarkupLayout block = measured(c.markup);
        EXPECT_EQ(block.breakLines(300, 0).size(), static_cast<size_t>(c.lines));
        EXPECT_EQ(measure(block, 300, 0).bottom - 20, c.lines * block.lineHeight());
    }
}

TEST_F(MarkupLayoutTest, WordBreakDropsTheBlankAndCarriesTheRest) {
    MarkupLayout block = measured(u"one two three four");
    const int width = m_fonts->width(m_dc, 0, u'o') * 9;  // "one two" fits, "one two t" does not
    const auto lines = block.breakLines(width, kLayoutWordBreak);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(block.text().characters.substr(lines[0].start, lines[0].shown), u"one two");
    EXPECT_EQ(lines[0].count, lines[0].shown + 1) << "the blank ends the line";
    EXPECT_EQ(block.breakLines(width, kLayoutWordBreak | kLayoutSingleLine).size(), 1u);
    EXPECT_EQ(block.breakLines(width, 0).size(), 1u) << "no word break: one long line";
}

TEST_F(MarkupLayoutTest, TheFlagsPlaceLinesAndTheBlock) {
    MarkupLayout block = measured(u"ab\nabcd");
    const auto lines = block.breakLines(200, 0);
    const int lh = block.lineHeight(), first = lines[0].width, second = lines[1].width;
    const RECT rect{10, 20, 210, 120};
    const struct {
        UINT flags;
        int x0, x1, y0;
    } cases[] = {
        {0, 10, 10, 20},
        {kLayoutRight, 210 - first, 210 - second, 20},
        {kLayoutCentre, 10 + (200 - first) / 2, 10 + (200 - second) / 2, 20},
        {kLayoutBottom, 10, 10, 120 - 2 * lh},
        {kLayoutVCentre, 10, 10, 20 + (100 - 2 * lh) / 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        const MarkupPlacement placed = block.place(lines, rect, rect, c.flags);
        ASSERT_EQ(placed.runs.size(), 2u);
        EXPECT_EQ(placed.runs[0].x, c.x0);
        EXPECT_EQ(placed.runs[1].x, c.x1);
        EXPECT_EQ(placed.runs[0].y, c.y0);
        EXPECT_EQ(placed.runs[1].y, c.y0 + lh);
    }
    // Lines wholly outside the clip box are left out.
    const RECT secondOnly{10, 20 + lh, 210, 20 + 2 * lh};
    const MarkupPlacement clipped = block.place(lines, rect, secondOnly, 0);
    ASSERT_EQ(clipped.runs.size(), 1u);
    EXPECT_EQ(clipped.runs[0].start, lines[1].start);
}

TEST_F(MarkupLayoutTest, RunsChangeWithFontAndColourAndHoldAtMost256Characters) {
    MarkupLayout block = measured(std::u16string(600, u'x') + u"<b>y</b><#FF0000>z<i>w");
    const auto lines = block.breakLines(100000, 0);
    const RECT rect{0, 0, 100000, 50};
    const MarkupPlacement placed = block.place(lines, rect, rect, 0);
    const struct {
        int count, slot;
        uint32_t colour;
    } expected[] = {{256, 0, 0}, {256, 0, 0}, {88, 0, 0}, {1, 1, 0}, {1, 0, 0xFF}, {1, 2, 0xFF}};
    ASSERT_EQ(placed.runs.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(placed.runs[i].count, expected[i].count) << i;
        EXPECT_EQ(placed.runs[i].slot, expected[i].slot) << i;
        EXPECT_EQ(placed.runs[i].colour, expected[i].colour) << i;
    }
}

TEST_F(MarkupLayoutTest, ExactStylesTakeTheirFontsAndOthersTheNormalOne) {
    const struct {
        uint16_t attributes;
        int slot;
    } cases[] = {{0, 0},
                 {kMarkupBold, 1},
                 {kMarkupItalic, 2},
                 {kMarkupBold | kMarkupItalic, 3},
                 {kMarkupUnderline, 4},
                 {kMarkupStrikeOut, 5},
                 {kMarkupBold | kMarkupUnderline, 0},
                 {kMarkupBold | kMarkupRule, 1},
                 {kMarkupRule, 0},
                 {0x0F, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(fontSlotOf(c.attributes), c.slot) << c.attributes;
    LOGFONTW bold{}, strike{};
    GetObjectW(m_fonts->font(1), sizeof bold, &bold);
    GetObjectW(m_fonts->font(5), sizeof strike, &strike);
    EXPECT_EQ(bold.lfWeight, 700);
    EXPECT_EQ(strike.lfStrikeOut, 1);
    EXPECT_EQ(strike.lfWeight, 400);
    // Without a normal font to derive from, the library's shared style fonts stand in.
    MarkupFonts none(nullptr);
    EXPECT_EQ(none.font(0), nullptr);
    ASSERT_NE(none.font(3), nullptr);
    LOGFONTW shared{};
    GetObjectW(none.font(3), sizeof shared, &shared);
    EXPECT_EQ(shared.lfWeight, 700);
    EXPECT_EQ(shared.lfItalic, 1);
    releaseSharedMarkupFonts();
}

// ---- Property test --------------------------------------------------------------------------------

std::u16string randomBlock(std::mt19937& random) {
    static const std::vector<std::u16string> pieces = {
        u"Rent",  u"Счет",
        u"a",     u"WWWWWWWWWWWWWWWWWWWW",
        u" ",     u"  ",
        u"\n",    u"\r\n",
        u"<l>",   u"<b>",
        u"</b>",  u"<i>",
        u"</i>",  u"<u>",
        u"</u>",  u"<s>",
        u"</s>",  u"<#777777>",
        u"</#>",  u"12 345.67 $",
        u"mmmmm", u"\u00e9t\u00e9",
    };
    std::uniform_int_distribution<size_t> count(0, 30), pick(0, pieces.size() - 1);
    std::u16string text;
    for (size_t n = count(random); n > 0; --n)
        text += pieces[pick(random)];
    return text;
}

bool isLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n';
}

TEST_F(MarkupLayoutTest, RandomBlocksLoseNothingFitTheirRectanglesAndDrawWhatWasMeasured) {
    std::mt19937 random(16);
    std::uniform_int_distribution<int> widths(1, 320);
    const UINT flagSets[] = {kLayoutWordBreak,
                             kLayoutWordBreak | kLayoutEndEllipsis,
                             kLayoutWordBreak | kLayoutRight,
                             0,
                             kLayoutEndEllipsis | kLayoutCentre,
                             kLayoutSingleLine};
    for (int round = 0; round < 3000; ++round) {
        const std::u16string markup = randomBlock(random);
        const UINT flags = flagSets[static_cast<size_t>(round) % std::size(flagSets)];
        const int width = widths(random);
        SCOPED_TRACE(::testing::Message() << "round " << round << " width " << width << " flags " << flags);
        MarkupLayout block = measured(markup);
        const std::u16string& chars = block.text().characters;
        const auto lines = block.breakLines(width, flags);
        // The lines take every character once, in order; what a line does not show is its end.
        int next = 0, widest = 0;
        for (const MarkupLine& line : lines) {
            ASSERT_EQ(line.start, next);
            next += line.count;
            const std::u16string rest = chars.substr(static_cast<size_t>(line.start + line.shown),
                                                     static_cast<size_t>(line.count - line.shown));
            if (line.rule)
                ASSERT_EQ(rest, u"\n");
            else
                ASSERT_TRUE(rest.empty() || rest == u" " || (rest.size() <= 2 && isLineEnd(rest[0])))
                    << rest.size();
            int sum = 0;
            for (int i = line.start; i < line.start + line.shown; ++i)
                sum += block.widths()[static_cast<size_t>(i)];
            ASSERT_EQ(sum, line.width);
            widest = std::max(widest, line.width);
            // Broken lines fit, unless they are one word (or one character).
            const std::u16string shown =
                chars.substr(static_cast<size_t>(line.start), static_cast<size_t>(line.shown));
            if ((flags & kLayoutWordBreak) && !(flags & kLayoutSingleLine) && line.width > width) {
                ASSERT_TRUE(shown.size() == 1 || shown.find(u' ') == std::u16string::npos);
            }
        }
        ASSERT_EQ(next, static_cast<int>(chars.size()));
        // Measuring gives the widest line and the lines' height.
        const RECT size = measure(block, width, flags);
        ASSERT_EQ(size.right - 10, widest);
        ASSERT_EQ(size.bottom - 20, static_cast<int>(lines.size()) * block.lineHeight());
        // Drawing puts each line's shown characters, and only those, side by side from its start.
        const RECT rect{0, 0, width, 100000};
        const MarkupPlacement placed = block.place(lines, rect, rect, flags);
        std::map<int, std::vector<MarkupRun>> rows;
        for (const MarkupRun& r : placed.runs) {
            ASSERT_LE(r.count, kMaxRunLength);
            rows[r.y].push_back(r);
        }
        for (size_t k = 0; k < lines.size(); ++k) {
            const MarkupLine& line = lines[k];
            if (line.rule) continue;
            std::u16string drawn;
            const bool leftAligned = !(flags & (kLayoutCentre | kLayoutRight));
            int x = 0, drawnWidth = 0, dots = 0;
            bool first = true;
            for (const MarkupRun& r : rows[static_cast<int>(k) * block.lineHeight()]) {
                if (!first || leftAligned) {
                    ASSERT_EQ(r.x, x) << "runs follow each other from the line's start";
                }
                first = false;
                x = r.x + r.width;
                drawnWidth += r.width;
                dots += r.dots;
                if (r.dots == 0)
                    drawn += chars.substr(static_cast<size_t>(r.start), static_cast<size_t>(r.count));
            }
            std::u16string shown;
            for (int i = line.start; i < line.start + line.shown; ++i)
                if (!isLineEnd(chars[static_cast<size_t>(i)])) shown += chars[static_cast<size_t>(i)];
            if ((flags & kLayoutEndEllipsis) && line.width > width) {
                ASSERT_LE(drawnWidth, width) << "the cut line and its dots fit";
                ASSERT_EQ(shown.substr(0, drawn.size()), drawn) << "what is kept is the line's start";
            } else {
                ASSERT_EQ(dots, 0);
                ASSERT_EQ(drawn, shown);
                ASSERT_EQ(drawnWidth, line.width);
            }
        }
    }
}

}  // namespace
}  // namespace today
