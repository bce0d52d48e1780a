// Fonts on real faces: name resolution through fontconfig, Cyrillic coverage, the LOGFONT height
// rules, weights and decorations.
#include <string>

#include "GdiTestSupport.h"

using namespace gditest;

namespace {

HFONT makeFont(const char16_t* face, int height, int weight = FW_NORMAL, bool underline = false) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, face);
}

TEXTMETRICW metricsOf(HFONT font) {
    Canvas canvas(1, 1);
    SelectObject(canvas.dc(), font);
    TEXTMETRICW tm{};
    EXPECT_TRUE(GetTextMetricsW(canvas.dc(), &tm));
    SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
    return tm;
}

int widthOf(HFONT font, const std::u16string& text) {
    Canvas canvas(1, 1);
    SelectObject(canvas.dc(), font);
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32W(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &size));
    SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
    return size.cx;
}

TEST(Fonts, TahomaComesFromWinesFolderAndCarriesCyrillic) {
    HFONT font = makeFont(u"Tahoma", -13);
    platform::FontFaceInfo info;
    ASSERT_TRUE(platform::describeFont(font, info));
    EXPECT_EQ(info.family, "Tahoma");
    EXPECT_EQ(info.file.rfind("/usr/share/wine/fonts/", 0), 0u) << info.file;
    EXPECT_TRUE(platform::fontHasGlyphs(font, u"Проекты"));
    EXPECT_FALSE(platform::fontHasGlyphs(font, u"\U0001F600"));
    DeleteObject(font);
}

TEST(Fonts, TimesNewRomanIsLiberationSerifWithCyrillic) {
    HFONT font = makeFont(u"Times new roman", 14, FW_BOLD);
    platform::FontFaceInfo info;
    ASSERT_TRUE(platform::describeFont(font, info));
    EXPECT_EQ(info.family, "Liberation Serif");
    EXPECT_NE(info.file.find("LiberationSerif-Bold"), std::string::npos) << info.file;
    EXPECT_FALSE(info.syntheticBold);
    EXPECT_TRUE(platform::fontHasGlyphs(font, u"Проекты"));
    DeleteObject(font);
}

TEST(Fonts, NegativeHeightIsTheEmAndPositiveTheCell) {
    for (const char16_t* face : {u"Tahoma", u"Times new roman"}) {
        for (int h : {8, 11, 13, 19, 32}) {
            HFONT em = makeFont(face, -h), cell = makeFont(face, h);
            TEXTMETRICW a = metricsOf(em), b = metricsOf(cell);
            EXPECT_EQ(a.tmHeight - a.tmInternalLeading, h);
            EXPECT_EQ(a.tmHeight, a.tmAscent + a.tmDescent);
            EXPECT_EQ(b.tmHeight, h);
            EXPECT_LT(b.tmHeight - b.tmInternalLeading, h);
            EXPECT_GT(a.tmHeight, b.tmHeight);
            EXPECT_GT(a.tmAveCharWidth, 0);
            EXPECT_GE(a.tmMaxCharWidth, a.tmAveCharWidth);
            DeleteObject(em);
            DeleteObject(cell);
        }
    }
    HFONT defaulted = makeFont(u"Tahoma", 0);
    EXPECT_GT(metricsOf(defaulted).tmHeight, 8);
    DeleteObject(defaulted);
}

TEST(Fonts, BoldIsWiderAndReportsItsWeight) {
    const std::u16string text = u"Записать transaction";
    HFONT normal = makeFont(u"Times new roman", 14), bold = makeFont(u"Times new roman", 14, FW_BOLD);
    EXPECT_GT(widthOf(bold, text), widthOf(normal, text));
    EXPECT_EQ(metricsOf(bold).tmWeight, FW_BOLD);
    DeleteObject(normal);
    DeleteObject(bold);
}

// The ink (pixels darker than mid grey) of text drawn in black on white.
int inkOf(HFONT font, const std::u16string& text) {
    Canvas canvas(200, 40);
    SelectObject(canvas.dc(), font);
    SetBkMode(canvas.dc(), TRANSPARENT);
    ExtTextOutW(canvas.dc(), 2, 2, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
    int ink = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            ink += GetRValue(canvas.at(x, y)) < 128 ? 1 : 0;
    return ink;
}

TEST(Fonts, BoldTahomaDrawsBoldStrokes) {
    // Wine's bold Tahoma carries the regular outlines with bold advances; the family's bold is drawn
    // from the regular face, emboldened, so that it is bold and not merely spaced apart.
    HFONT normal = makeFont(u"Tahoma", -13), bold = makeFont(u"Tahoma", -13, FW_BOLD);
    platform::FontFaceInfo info;
    ASSERT_TRUE(platform::describeFont(bold, info));
    EXPECT_EQ(info.family, "Tahoma");
    const std::u16string text = u"12/08/26 Выход";
    EXPECT_GT(inkOf(bold, text) * 10, inkOf(normal, text) * 12) << info.file;
    EXPECT_GT(widthOf(bold, text), widthOf(normal, text));
    DeleteObject(normal);
    DeleteObject(bold);
}

TEST(Fonts, FamiliesWithoutABoldFaceAreEmboldened) {
    HFONT normal = makeFont(u"Marlett", -16), bold = makeFont(u"Marlett", -16, FW_BOLD);
    platform::FontFaceInfo info;
    ASSERT_TRUE(platform::describeFont(bold, info));
    if (info.family != "Marlett") GTEST_SKIP() << "Marlett is not installed";
    EXPECT_TRUE(info.syntheticBold);
    EXPECT_GE(widthOf(bold, u"abc"), widthOf(normal, u"abc"));
    DeleteObject(normal);
    DeleteObject(bold);
}

TEST(Fonts, ItalicWithoutAnItalicFaceIsSlanted) {
    HFONT italic = CreateFontW(-16, 0, 0, 0, FW_NORMAL, TRUE, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma");
    platform::FontFaceInfo info;
    ASSERT_TRUE(platform::describeFont(italic, info));
    EXPECT_EQ(info.family, "Tahoma");
    EXPECT_TRUE(info.syntheticItalic);
    EXPECT_EQ(metricsOf(italic).tmItalic, 1);
    Canvas upright(40, 30), slanted(40, 30);
    HFONT plain = makeFont(u"Tahoma", -16);
    SelectObject(upright.dc(), plain);
    SelectObject(slanted.dc(), italic);
    ExtTextOutW(upright.dc(), 5, 5, 0, nullptr, u"l", 1, nullptr);
    ExtTextOutW(slanted.dc(), 5, 5, 0, nullptr, u"l", 1, nullptr);
    RECT a = upright.inked(), b = slanted.inked();
    EXPECT_GT(b.right - b.left, a.right - a.left);  // the stem leans to the right
    SelectObject(upright.dc(), GetStockObject(SYSTEM_FONT));
    SelectObject(slanted.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(plain);
    DeleteObject(italic);
}

TEST(Fonts, UnderlineDrawsALineBelowTheBaseline) {
    HFONT plain = makeFont(u"Tahoma", -20), underlined = makeFont(u"Tahoma", -20, FW_NORMAL, true);
    TEXTMETRICW tm = metricsOf(plain);
    Canvas a(200, 40), b(200, 40);
    SelectObject(a.dc(), plain);
    SelectObject(b.dc(), underlined);
    ExtTextOutW(a.dc(), 5, 5, 0, nullptr, u"ace", 3, nullptr);
    ExtTextOutW(b.dc(), 5, 5, 0, nullptr, u"ace", 3, nullptr);
    int baseline = 5 + tm.tmAscent;
    int extraRows = 0;
    for (int y = 0; y < 40; ++y) {
        int differing = 0;
        for (int x = 0; x < 200; ++x)
            differing += a.at(x, y) != b.at(x, y);
        if (differing == 0) continue;
        EXPECT_GE(y, baseline);
        EXPECT_LT(y, 5 + tm.tmHeight);
        ++extraRows;
    }
    EXPECT_GT(extraRows, 0);
    SelectObject(a.dc(), GetStockObject(SYSTEM_FONT));
    SelectObject(b.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(plain);
    DeleteObject(underlined);
}

TEST(Fonts, TextIsAntiAliasedInTheTextColour) {
    Canvas canvas(100, 30);
    HFONT font = makeFont(u"Times new roman", -18);
    SelectObject(canvas.dc(), font);
    SetTextColor(canvas.dc(), RGB(0, 0, 255));
    SetBkMode(canvas.dc(), TRANSPARENT);
    ExtTextOutW(canvas.dc(), 2, 2, 0, nullptr, u"Sova", 4, nullptr);
    int full = 0, partial = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 100; ++x) {
            COLORREF c = canvas.at(x, y);
            if (c == RGB(0, 0, 255))
                ++full;
            else if (c != RGB(255, 255, 255)) {
                ++partial;
                EXPECT_EQ(GetBValue(c), 255);  // a blend of blue over white
            }
        }
    }
    EXPECT_GT(full, 10);
    EXPECT_GT(partial, 10);
    SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST(Fonts, ExtentsAddUpAndFitCountsCharacters) {
    Canvas canvas(1, 1);
    HFONT font = makeFont(u"Tahoma", -13);
    SelectObject(canvas.dc(), font);
    const char16_t* text = u"Категория";
    SIZE whole{}, first{}, rest{};
    GetTextExtentPoint32W(canvas.dc(), text, 9, &whole);
    GetTextExtentPoint32W(canvas.dc(), text, 4, &first);
    GetTextExtentPoint32W(canvas.dc(), text + 4, 5, &rest);
    EXPECT_EQ(whole.cx, first.cx + rest.cx);
    int fit = 0, partial[9] = {};
    SIZE size{};
    GetTextExtentExPointW(canvas.dc(), text, 9, first.cx, &fit, partial, &size);
    EXPECT_EQ(fit, 4);
    EXPECT_EQ(partial[3], first.cx);
    EXPECT_EQ(partial[8], whole.cx);
    SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST(Fonts, LogFontRoundTripsThroughGetObject) {
    HFONT font = makeFont(u"Times new roman", 19, FW_BOLD, true);
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(font, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_EQ(lf.lfHeight, 19);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(std::u16string(lf.lfFaceName), u"Times new roman");
    lf.lfHeight = 18;  // the way controls shrink a font to fit
    HFONT smaller = CreateFontIndirectW(&lf);
    EXPECT_EQ(metricsOf(smaller).tmHeight, 18);
    DeleteObject(font);
    DeleteObject(smaller);
}

TEST(Fonts, StockFontsFollowTheScreenResolution) {
    HFONT system = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    int normal = metricsOf(system).tmHeight;
    ASSERT_TRUE(platform::setScreenDpi(192));
    int high = metricsOf(system).tmHeight;
    Canvas canvas(1, 1);
    EXPECT_EQ(GetDeviceCaps(canvas.dc(), LOGPIXELSY), 192);
    ASSERT_TRUE(platform::setScreenDpi(96));
    EXPECT_NEAR(high, 2 * normal, 2);
    EXPECT_FALSE(platform::setScreenDpi(0));
}

}  // namespace
