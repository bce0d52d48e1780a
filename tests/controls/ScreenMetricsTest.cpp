// Screen metrics: the 96-dpi unit conversion and its rounding, the resolution flags, and the shared
// font set's sizes, sharing and re-creation for a new resolution.

#include <gtest/gtest.h>

#include "ScreenMetrics.h"
#include "UserTesting.h"

namespace {

struct ScreenMetricsTest : ::testing::Test {
    ~ScreenMetricsTest() override {
        releaseSharedFonts();
        setScreenMetrics(96, 96, 240, 320);
    }
};

TEST_F(ScreenMetricsTest, ScaleRoundsAndMirrorsNegativeValues) {
    struct Case {
        int dpiX, dpiY, v, x, y;
    };
    const Case cases[] = {
        {96, 96, 78, 78, 78},      {192, 192, 78, 156, 156}, {131, 131, 55, 75, 75},
        {192, 96, -78, -156, -78}, {131, 131, -1, -1, -1},   {131, 131, -55, -75, -75},
        {96, 131, 0, 0, 0},        {120, 131, 1, 1, 1},      {96, 192, 320, 320, 640},
    };
    for (const Case& c : cases) {
        setScreenMetrics(c.dpiX, c.dpiY, 240, 320);
        EXPECT_EQ(scaleX(c.v), c.x) << c.dpiX << " dpi, " << c.v;
        EXPECT_EQ(scaleY(c.v), c.y) << c.dpiY << " dpi, " << c.v;
    }
}

TEST_F(ScreenMetricsTest, FlagsFollowResolutionAndScreenSize) {
    struct Case {
        int dpiX, dpiY, width, height;
        bool high, size400or800;
    };
    const Case cases[] = {
        {96, 96, 240, 320, false, false},  {131, 131, 240, 320, false, false},
        {132, 96, 240, 320, true, false},  {96, 132, 240, 320, true, false},
        {192, 192, 480, 800, true, true},  {192, 192, 800, 480, true, true},
        {96, 96, 240, 400, false, true},   {96, 96, 320, 320, false, false},
        {192, 192, 640, 480, true, false},
    };
    for (const Case& c : cases) {
        setScreenMetrics(c.dpiX, c.dpiY, c.width, c.height);
        EXPECT_EQ(screenMetrics().highResolution, c.high) << c.dpiX << "x" << c.dpiY;
        EXPECT_EQ(screenMetrics().screen400or800, c.size400or800) << c.width << "x" << c.height;
    }
}

TEST_F(ScreenMetricsTest, StartUpReadsTheScreen) {
    platform::testing::WindowTestScope scope(480, 640, 192);
    initScreenMetrics();
    EXPECT_EQ(screenMetrics().resolutionX, 192);
    EXPECT_EQ(screenMetrics().resolutionY, 192);
    EXPECT_EQ(screenMetrics().screenWidth, 480);
    EXPECT_EQ(screenMetrics().screenHeight, 640);
    EXPECT_TRUE(screenMetrics().highResolution);
    EXPECT_EQ(scaleX(78), 156);
}

LOGFONTW describe(HFONT font) {
    LOGFONTW description{};
    EXPECT_NE(GetObjectW(font, sizeof(description), &description), 0);
    return description;
}

TEST_F(ScreenMetricsTest, SharedFontsHaveTheirSizesWeightsAndSharing) {
    setScreenMetrics(96, 96, 240, 320);
    struct Case {
        int index;
        LONG height;
        LONG weight;
        BYTE underline;
    };
    // 8 pt at 96 dpi: 10.67 + 0.5 -> 11; 10 pt: 13.33 + 0.5 -> 13.
    const Case cases[] = {{0, -11, 400, 1}, {1, -11, 400, 0}, {2, -13, 700, 0}, {3, -13, 700, 0},
                          {4, -11, 400, 0}, {5, -11, 400, 0}, {6, -11, 700, 0}, {7, -13, 700, 0}};
    for (const Case& c : cases) {
        LOGFONTW font = describe(sharedFont(c.index));
        EXPECT_EQ(font.lfHeight, c.height) << "font " << c.index;
        EXPECT_EQ(font.lfWeight, c.weight) << "font " << c.index;
        EXPECT_EQ(font.lfUnderline, c.underline) << "font " << c.index;
        EXPECT_EQ(std::u16string_view(font.lfFaceName), u"Tahoma");
    }
    EXPECT_EQ(sharedFont(1), sharedFont(4));
    EXPECT_NE(sharedFont(1), sharedFont(5));
    EXPECT_NE(sharedFont(2), sharedFont(3));
    EXPECT_EQ(sharedFont(2), sharedFont(2)) << "created once";
    EXPECT_EQ(sharedFont(-1), nullptr);
    EXPECT_EQ(sharedFont(kSharedFontCount), nullptr);

    // A new resolution gives new fonts: 8 pt at 192 dpi is 21.33 + 0.5 -> 21.
    setScreenMetrics(192, 192, 480, 640);
    EXPECT_EQ(describe(sharedFont(1)).lfHeight, -21);
    LOGPEN pen{};
    ASSERT_NE(GetObjectW(sharedPen(0), sizeof(pen), &pen), 0);
    EXPECT_EQ(pen.lopnWidth.x, 2);
    EXPECT_EQ(pen.lopnColor, RGB(0, 0, 0));
    EXPECT_NE(sharedPen(0), sharedPen(1));
    EXPECT_EQ(sharedPen(2), nullptr);
}

}  // namespace
