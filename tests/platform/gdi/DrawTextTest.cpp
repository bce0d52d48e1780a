// DrawTextW on real fonts: measuring agrees with drawing, alignment, vertical placement, word
// breaks, ellipses, mnemonic prefixes, clipping and opaque backgrounds.
#include <string>

#include "GdiTestSupport.h"

using namespace gditest;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

class DrawTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_font = CreateFontW(14, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Times new roman");
        SelectObject(canvas.dc(), m_font);
        SetBkMode(canvas.dc(), TRANSPARENT);
        GetTextMetricsW(canvas.dc(), &tm);
    }
    void TearDown() override {
        SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
        DeleteObject(m_font);
    }
    // Draws and returns the inked box; rect receives DT_CALCRECT's answer for the same text first.
    RECT drawAndMeasure(const std::u16string& text, RECT area, UINT format, RECT& measured) {
        canvas.fill(kWhite);
        measured = area;
        DrawTextW(canvas.dc(), text.c_str(), -1, &measured, format | DT_CALCRECT);
        DrawTextW(canvas.dc(), text.c_str(), -1, &area, format);
        return canvas.inked();
    }
    static bool contains(const RECT& outer, const RECT& inner) {
        return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
               inner.bottom <= outer.bottom;
    }

    Canvas canvas{320, 200};
    TEXTMETRICW tm{};

  private:
    HFONT m_font = nullptr;
};

TEST_F(DrawTextTest, InkLiesWithinTheCalculatedRectangle) {
    const std::u16string texts[] = {u"Записать", u"Зап. & Новый", u"Amount -250,50 руб.",
                                    u"Счета и группы счетов, бюджеты и запланированные операции"};
    for (const std::u16string& text : texts) {
        for (UINT format :
             {UINT{DT_SINGLELINE | DT_NOPREFIX}, UINT{DT_WORDBREAK}, UINT{DT_WORDBREAK | DT_NOPREFIX}}) {
            RECT measured{};
            RECT ink = drawAndMeasure(text, RECT{10, 10, 170, 190}, format, measured);
            EXPECT_FALSE(IsRectEmpty(&ink));
            InflateRect(&measured, 1, 0);  // anti-aliased edges may spill into the side bearing
            EXPECT_TRUE(contains(measured, ink)) << platform::toUtf8(text) << " format " << format;
        }
    }
}

TEST_F(DrawTextTest, ReturnsTheTextHeightAndCalcRectSetsTheExtent) {
    RECT r{0, 0, 300, 100};
    EXPECT_EQ(DrawTextW(canvas.dc(), u"Дата", -1, &r, DT_SINGLELINE | DT_CALCRECT), tm.tmHeight);
    EXPECT_EQ(r.bottom, tm.tmHeight);
    SIZE size{};
    GetTextExtentPoint32W(canvas.dc(), u"Дата", 4, &size);
    EXPECT_EQ(r.right, size.cx);
    RECT two{0, 0, 300, 100};
    EXPECT_EQ(DrawTextW(canvas.dc(), u"line1\r\nline2\nline3", -1, &two, DT_CALCRECT), 3 * tm.tmHeight);
}

TEST_F(DrawTextTest, HorizontalAlignmentPlacesTheInk) {
    RECT area{20, 10, 300, 40};
    RECT measured{};
    RECT left = drawAndMeasure(u"Категория", area, DT_LEFT | DT_SINGLELINE, measured);
    RECT centre = drawAndMeasure(u"Категория", area, DT_CENTER | DT_SINGLELINE, measured);
    RECT right = drawAndMeasure(u"Категория", area, DT_RIGHT | DT_SINGLELINE, measured);
    EXPECT_NEAR(left.left, area.left, 2);
    EXPECT_NEAR(right.right, area.right, 2);
    EXPECT_NEAR((centre.left + centre.right) / 2, (area.left + area.right) / 2, 2);
    EXPECT_EQ(left.right - left.left, right.right - right.left);
}

TEST_F(DrawTextTest, VerticalCentreAndBottomApplyToSingleLines) {
    RECT area{0, 20, 200, 120};
    RECT measured{};
    RECT top = drawAndMeasure(u"Hxg", area, DT_SINGLELINE, measured);
    RECT middle = drawAndMeasure(u"Hxg", area, DT_SINGLELINE | DT_VCENTER, measured);
    RECT bottom = drawAndMeasure(u"Hxg", area, DT_SINGLELINE | DT_BOTTOM, measured);
    int cellTopMiddle = (area.top + area.bottom - tm.tmHeight) / 2;
    EXPECT_EQ(middle.top - cellTopMiddle, top.top - area.top);
    EXPECT_EQ(bottom.top - (area.bottom - tm.tmHeight), top.top - area.top);
    EXPECT_LE(bottom.bottom, area.bottom);
    RECT r = area;
    EXPECT_EQ(DrawTextW(canvas.dc(), u"Hxg", -1, &r, DT_SINGLELINE | DT_BOTTOM), area.bottom - area.top);
}

TEST_F(DrawTextTest, WordBreakBreaksAtBlanksAndKeepsLongWordsWhole) {
    RECT r{0, 0, 120, 200};
    int oneLine = DrawTextW(canvas.dc(), u"Зап.", -1, &r, DT_WORDBREAK | DT_CALCRECT);
    r = RECT{0, 0, 120, 200};
    int lines =
        DrawTextW(canvas.dc(), u"один два три четыре пять шесть семь", -1, &r, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(oneLine, tm.tmHeight);
    EXPECT_GT(lines, tm.tmHeight);
    EXPECT_LE(r.right, 120);
    const std::u16string longWord = u"Запланированныеоперациибюджетысчета";
    r = RECT{0, 0, 60, 200};
    EXPECT_EQ(DrawTextW(canvas.dc(), longWord.c_str(), -1, &r, DT_WORDBREAK | DT_CALCRECT), tm.tmHeight);
    EXPECT_GT(r.right, 60);
}

TEST_F(DrawTextTest, EndEllipsisCutsTheTextToFitAndEndsInDots) {
    const std::u16string text = u"Счета и группы счетов, бюджеты";
    RECT measured{};
    RECT area{0, 0, 100, 30};
    RECT ink = drawAndMeasure(text, area, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP, measured);
    EXPECT_LE(measured.right, 100);
    EXPECT_LE(ink.right, 101);
    // The last inked columns are the three dots: small marks on the baseline only (the first column
    // may share anti-aliased ink with the preceding letter).
    Canvas dots(100, 30);
    SelectObject(dots.dc(), GetCurrentObject(canvas.dc(), OBJ_FONT));
    SetBkMode(dots.dc(), TRANSPARENT);
    RECT at{0, 0, 100, 30};
    DrawTextW(dots.dc(), u"...", -1, &at, DT_SINGLELINE);
    RECT dotsInk = dots.inked();
    int dotsWidth = dotsInk.right - dotsInk.left;
    for (int y = 0; y < 30; ++y) {
        for (int x = ink.right - dotsWidth + 1; x < ink.right; ++x) {
            if (canvas.at(x, y) != kWhite) {
                EXPECT_GE(y, dotsInk.top);
            }
        }
    }
    SelectObject(dots.dc(), GetStockObject(SYSTEM_FONT));
    RECT fits{0, 0, 300, 30};
    RECT plain{};
    drawAndMeasure(u"Дата", fits, DT_SINGLELINE, plain);
    RECT withFlag{};
    drawAndMeasure(u"Дата", fits, DT_SINGLELINE | DT_END_ELLIPSIS, withFlag);
    EXPECT_TRUE(EqualRect(&plain, &withFlag));
}

TEST_F(DrawTextTest, AmpersandMarksAMnemonicUnlessNoPrefix) {
    SIZE amp{}, none{};
    GetTextExtentPoint32W(canvas.dc(), u"Зап. & Новый", 12, &amp);
    GetTextExtentPoint32W(canvas.dc(), u"Зап.  Новый", 11, &none);
    RECT r{0, 0, 300, 40};
    DrawTextW(canvas.dc(), u"Зап. & Новый", -1, &r, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    EXPECT_EQ(r.right, amp.cx);
    r = RECT{0, 0, 300, 40};
    DrawTextW(canvas.dc(), u"Зап. & Новый", -1, &r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(r.right, none.cx);
    r = RECT{0, 0, 300, 40};
    DrawTextW(canvas.dc(), u"A && B", -1, &r, DT_SINGLELINE | DT_CALCRECT);
    SIZE literal{};
    GetTextExtentPoint32W(canvas.dc(), u"A & B", 5, &literal);
    EXPECT_EQ(r.right, literal.cx);
    // "&N" underlines N: ink appears below the baseline under it only.
    RECT plainInk, markedInk, measured;
    plainInk = drawAndMeasure(u"ZN", RECT{0, 0, 300, 40}, DT_SINGLELINE, measured);
    markedInk = drawAndMeasure(u"Z&N", RECT{0, 0, 300, 40}, DT_SINGLELINE, measured);
    EXPECT_GT(markedInk.bottom, plainInk.bottom);
    EXPECT_GT(markedInk.bottom, tm.tmAscent);
}

TEST_F(DrawTextTest, TextIsClippedToTheRectangleUnlessNoClip) {
    RECT area{10, 10, 40, 20};
    RECT measured{};
    RECT clipped = drawAndMeasure(u"Запланированные", area, DT_SINGLELINE, measured);
    EXPECT_TRUE(contains(area, clipped));
    RECT free = drawAndMeasure(u"Запланированные", area, DT_SINGLELINE | DT_NOCLIP, measured);
    EXPECT_GT(free.right, area.right);
}

TEST_F(DrawTextTest, OpaqueModeFillsTheTextCellWithTheBackground) {
    SetBkMode(canvas.dc(), OPAQUE);
    SetBkColor(canvas.dc(), RGB(0, 200, 0));
    RECT area{5, 5, 300, 100};
    RECT measured{};
    drawAndMeasure(u"Дата", area, DT_SINGLELINE, measured);
    EXPECT_EQ(canvas.at(measured.left, measured.top), RGB(0, 200, 0));
    EXPECT_EQ(canvas.at(measured.right - 1, measured.bottom - 1), RGB(0, 200, 0));
    EXPECT_EQ(canvas.at(measured.right, measured.top), kWhite);
    EXPECT_EQ(canvas.at(measured.left, measured.bottom), kWhite);
}

TEST_F(DrawTextTest, TabsExpandToStopsOnlyWithTheFlag) {
    RECT withTabs{0, 0, 300, 40}, without{0, 0, 300, 40};
    DrawTextW(canvas.dc(), u"a\tb", -1, &withTabs, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    DrawTextW(canvas.dc(), u"a\tb", -1, &without, DT_SINGLELINE | DT_CALCRECT);
    SIZE b{};
    GetTextExtentPoint32W(canvas.dc(), u"b", 1, &b);
    EXPECT_EQ(withTabs.right, 8 * tm.tmAveCharWidth + b.cx);
    EXPECT_LT(without.right, withTabs.right);
}

}  // namespace
