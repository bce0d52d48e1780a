// Text keys: fonts created when the creator has none, shrinking to fit the text area (shared fonts
// shrink for the widest text, never below the smallest height), and the "^" form drawn as two lines
// in the upper and lower halves.

#include "ControlsFixture.h"
#include "TextKey.h"

using controlstest::ControlsTest;
using controlstest::inkedOnScreen;

namespace {

LONG heightOf(HFONT font) {
    LOGFONTW description{};
    GetObjectW(font, sizeof(description), &description);
    return description.lfHeight;
}

int widthIn(HFONT font, std::u16string_view text) {
    HDC hdc = CreateCompatibleDC(nullptr);
    SelectObject(hdc, font);
    SIZE size{};
    GetTextExtentPoint32W(hdc, text.data(), static_cast<int>(text.size()), &size);
    DeleteDC(hdc);
    return size.cx;
}

// The same font one unit higher (to show the fitted height is the largest that fits).
HFONT oneHigher(HFONT font) {
    LOGFONTW description{};
    GetObjectW(font, sizeof(description), &description);
    description.lfHeight += 1;
    return CreateFontIndirectW(&description);
}

struct TextKeyTest : ControlsTest {
    HFONT normalFont = nullptr;
    HFONT pressedFont = nullptr;
    HBITMAP black = nullptr;

    void SetUp() override {
        ControlsTest::SetUp();
        black = controlstest::makeBitmap(60, 40, RGB(0, 0, 0));
    }
    void TearDown() override {
        DeleteObject(normalFont);
        DeleteObject(pressedFont);
        DeleteObject(black);
        ControlsTest::TearDown();
    }
};

TEST_F(TextKeyTest, MissingFontsAreCreatedAndAShortTextKeepsThem) {
    TextKey key;
    ASSERT_TRUE(
        key.create(parent.window(), RECT{20, 100, 80, 140}, u"K", u"ab", 1, &normalFont, &pressedFont));
    ASSERT_NE(normalFont, nullptr);
    ASSERT_NE(pressedFont, nullptr);
    LOGFONTW normal{}, pressed{};
    GetObjectW(normalFont, sizeof(normal), &normal);
    GetObjectW(pressedFont, sizeof(pressed), &pressed);
    EXPECT_EQ(normal.lfHeight, 19);
    EXPECT_EQ(normal.lfWeight, FW_NORMAL);
    EXPECT_EQ(pressed.lfHeight, 19);
    EXPECT_EQ(pressed.lfWeight, FW_BOLD);
    EXPECT_EQ(std::u16string_view(normal.lfFaceName), u"Times new roman");
    EXPECT_FALSE(key.create(parent.window(), RECT{}, u"K", u"", 1, nullptr, &pressedFont));
}

TEST_F(TextKeyTest, FontsShrinkUntilTheTextFits) {
    const std::u16string_view text = u"WWWWWW";
    TextKey key;
    ASSERT_TRUE(
        key.create(parent.window(), RECT{20, 100, 80, 140}, u"K", text.data(), 1, &normalFont, &pressedFont));
    LONG fitted = heightOf(normalFont);
    EXPECT_LT(fitted, 19);
    EXPECT_GE(fitted, 9);
    EXPECT_LE(widthIn(normalFont, text), 60);
    HFONT larger = oneHigher(normalFont);
    EXPECT_GT(widthIn(larger, text), 60) << "the fitted font is the largest that fits";
    DeleteObject(larger);
    EXPECT_EQ(heightOf(pressedFont), fitted);

    // A narrower text rectangle shrinks the fonts further; the "^" form is measured by its wider part.
    key.setTextRect(RECT{0, 0, 52, 40});
    EXPECT_LE(widthIn(normalFont, text), 52);
    LONG narrower = heightOf(normalFont);
    EXPECT_LT(narrower, fitted);
    key.setText(u"W^WWWWWW");
    EXPECT_EQ(heightOf(normalFont), narrower);
}

TEST_F(TextKeyTest, KeysSharingFontsShrinkForTheWidestTextAndStopAtTheSmallestHeight) {
    TextKey first, second;
    ASSERT_TRUE(
        first.create(parent.window(), RECT{20, 100, 80, 140}, u"1", u"ab", 1, &normalFont, &pressedFont));
    EXPECT_EQ(heightOf(normalFont), 19);
    ASSERT_TRUE(second.create(parent.window(), RECT{100, 100, 160, 140}, u"2", u"WWWWWWW", 2, &normalFont,
                              &pressedFont));
    EXPECT_LT(heightOf(normalFont), 19);
    EXPECT_LE(widthIn(normalFont, u"WWWWWWW"), 60);

    second.setText(u"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    EXPECT_EQ(heightOf(normalFont), 8) << "shrinking stops once the font is below 9";
    EXPECT_EQ(heightOf(pressedFont), 8);
}

TEST_F(TextKeyTest, CaretTextIsDrawnAsTwoLinesInTheUpperAndLowerHalves) {
    TextKey oneLine, twoLines;
    ASSERT_TRUE(
        oneLine.create(parent.window(), RECT{20, 100, 80, 140}, u"1", u"ABC", 1, &normalFont, &pressedFont));
    ASSERT_TRUE(twoLines.create(parent.window(), RECT{100, 100, 160, 140}, u"2", u"AB^CD", 2, &normalFont,
                                &pressedFont));
    for (TextKey* key : {&oneLine, &twoLines}) {
        key->setImages(black, black, RECT{0, 0, 60, 40});
        UpdateWindow(key->window());
    }
    // Ink of one centred line crosses the middle row; two lines stay apart from it.
    RECT one = inkedOnScreen(RECT{20, 100, 80, 140}, RGB(0, 0, 0));
    EXPECT_LT(one.top, 120);
    EXPECT_GT(one.bottom, 120);
    RECT upper = inkedOnScreen(RECT{100, 100, 160, 120}, RGB(0, 0, 0));
    RECT lower = inkedOnScreen(RECT{100, 120, 160, 140}, RGB(0, 0, 0));
    ASSERT_FALSE(IsRectEmpty(&upper));
    ASSERT_FALSE(IsRectEmpty(&lower));
    EXPECT_NEAR((upper.top + upper.bottom) / 2.0, 110, 3);
    EXPECT_NEAR((lower.top + lower.bottom) / 2.0, 130, 3);
    EXPECT_NEAR((upper.left + upper.right) / 2.0, 130, 3) << "each line centred horizontally";
    EXPECT_NEAR((lower.left + lower.right) / 2.0, 130, 3);
    // The text is white.
    bool white = false;
    for (int y = upper.top; y < upper.bottom; ++y)
        for (int x = upper.left; x < upper.right; ++x)
            white = white || platform::testing::screenPixel(x, y) == RGB(255, 255, 255);
    EXPECT_TRUE(white);
}

}  // namespace
