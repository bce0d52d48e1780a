// Fills, lines, outlines, pixels and clipping checked as properties over many random shapes.
#include <random>

#include "GdiTestSupport.h"

using namespace gditest;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr int kRounds = 300;

TEST(Shapes, FillRectFillsExactlyTheRectInsideTheClip) {
    std::mt19937 rng(1);
    Canvas canvas(64, 48);
    HBRUSH red = CreateSolidBrush(kRed);
    for (int round = 0; round < kRounds; ++round) {
        canvas.fill(kWhite);
        RECT clip = randomRect(rng, 64, 48);
        RECT hole = randomRect(rng, 64, 48);
        RECT fill = randomRect(rng, 64, 48);
        SaveDC(canvas.dc());
        IntersectClipRect(canvas.dc(), clip.left, clip.top, clip.right, clip.bottom);
        ExcludeClipRect(canvas.dc(), hole.left, hole.top, hole.right, hole.bottom);
        FillRect(canvas.dc(), &fill, red);
        RestoreDC(canvas.dc(), -1);
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                bool expected = inside(fill, x, y) && inside(clip, x, y) && !inside(hole, x, y);
                ASSERT_EQ(canvas.at(x, y) == kRed, expected) << "round " << round << " at " << x << "," << y;
            }
        }
    }
    DeleteObject(red);
}

TEST(Shapes, LineToStopsBeforeItsLastPixelAndMovesThePosition) {
    std::mt19937 rng(2);
    std::uniform_int_distribution<int> coord(2, 37);
    Canvas canvas(40, 40);
    for (int round = 0; round < kRounds; ++round) {
        canvas.fill(kWhite);
        int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        MoveToEx(canvas.dc(), x0, y0, nullptr);
        LineTo(canvas.dc(), x1, y1);
        POINT position{};
        MoveToEx(canvas.dc(), 0, 0, &position);
        EXPECT_EQ(position.x, x1);
        EXPECT_EQ(position.y, y1);
        EXPECT_EQ(canvas.at(x1, y1), kWhite);
        if (x0 != x1 || y0 != y1) {
            EXPECT_EQ(canvas.at(x0, y0), RGB(0, 0, 0));
            int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
            EXPECT_EQ(canvas.countColor(RGB(0, 0, 0)), steps);
        }
        RECT ink = canvas.inked();
        if (!IsRectEmpty(&ink)) {
            EXPECT_GE(ink.left, std::min(x0, x1));
            EXPECT_LE(ink.right, std::max(x0, x1) + 1);
        }
    }
}

TEST(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    Canvas canvas(20, 20);
    HBRUSH red = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(canvas.dc(), red);
    Rectangle(canvas.dc(), 2, 3, 12, 10);
    EXPECT_EQ(canvas.at(2, 3), RGB(0, 0, 0));
    EXPECT_EQ(canvas.at(11, 9), RGB(0, 0, 0));
    EXPECT_EQ(canvas.at(12, 9), kWhite);
    EXPECT_EQ(canvas.at(11, 10), kWhite);
    EXPECT_EQ(canvas.at(3, 4), kRed);
    EXPECT_EQ(canvas.at(10, 8), kRed);
    RECT ink = canvas.inked();
    RECT expected{2, 3, 12, 10};
    EXPECT_TRUE(EqualRect(&ink, &expected));
    SelectObject(canvas.dc(), old);
    DeleteObject(red);
}

TEST(Shapes, EllipsesAndRoundRectsStayInsideTheirBoxes) {
    std::mt19937 rng(3);
    Canvas canvas(50, 50);
    HPEN thick = CreatePen(PS_SOLID, 3, RGB(0, 0, 255));
    HGDIOBJ oldPen = SelectObject(canvas.dc(), thick);
    for (int round = 0; round < 100; ++round) {
        canvas.fill(kWhite);
        RECT box = randomRect(rng, 50, 50);
        if (round % 2)
            Ellipse(canvas.dc(), box.left, box.top, box.right, box.bottom);
        else
            RoundRect(canvas.dc(), box.left, box.top, box.right, box.bottom, 8, 6);
        RECT ink = canvas.inked();
        if (IsRectEmpty(&ink)) continue;
        EXPECT_GE(ink.left, box.left);
        EXPECT_GE(ink.top, box.top);
        EXPECT_LE(ink.right, box.right);
        EXPECT_LE(ink.bottom, box.bottom);
    }
    SelectObject(canvas.dc(), oldPen);
    DeleteObject(thick);
}

TEST(Shapes, DrawingOverTheEdgesNeverWritesOutsideTheSurface) {
    std::mt19937 rng(4);
    Canvas canvas(7, 5);
    HPEN wide = CreatePen(PS_DASH, 4, kRed);
    SelectObject(canvas.dc(), wide);
    for (int round = 0; round < kRounds; ++round) {
        RECT r = randomRect(rng, 7, 5);
        InflateRect(&r, 6, 6);
        Ellipse(canvas.dc(), r.left, r.top, r.right, r.bottom);
        Rectangle(canvas.dc(), r.left, r.top, r.right, r.bottom);
        MoveToEx(canvas.dc(), r.left, r.top, nullptr);
        LineTo(canvas.dc(), r.right, r.bottom);
        POINT triangle[3] = {{r.left, r.bottom}, {r.right, r.bottom}, {(r.left + r.right) / 2, r.top}};
        Polygon(canvas.dc(), triangle, 3);
        DrawFocusRect(canvas.dc(), &r);
        PatBlt(canvas.dc(), r.left, r.top, r.right - r.left, r.bottom - r.top, DSTINVERT);
    }
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(wide);
}

TEST(Shapes, FocusRectIsAnInvertedDottedFrameThatUndoesItself) {
    Canvas canvas(30, 30);
    RECT r{3, 4, 20, 25};
    DrawFocusRect(canvas.dc(), &r);
    RECT ink = canvas.inked();
    EXPECT_TRUE(EqualRect(&ink, &r));
    EXPECT_NE(canvas.at(3, 4), canvas.at(4, 4));  // dotted
    EXPECT_EQ(canvas.at(10, 10), kWhite);
    DrawFocusRect(canvas.dc(), &r);
    EXPECT_EQ(canvas.countColor(kWhite), 30 * 30);
}

TEST(Shapes, PixelsOutsideTheSurfaceOrClipAreInvalid) {
    Canvas canvas(10, 10);
    EXPECT_EQ(SetPixel(canvas.dc(), 3, 4, kRed), kRed);
    EXPECT_EQ(GetPixel(canvas.dc(), 3, 4), kRed);
    EXPECT_EQ(GetPixel(canvas.dc(), 10, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc(), -1, 5), CLR_INVALID);
    EXPECT_EQ(SetPixel(canvas.dc(), 0, 10, kRed), CLR_INVALID);
    ExcludeClipRect(canvas.dc(), 0, 0, 5, 5);
    EXPECT_EQ(SetPixel(canvas.dc(), 1, 1, kRed), CLR_INVALID);
    EXPECT_EQ(canvas.at(1, 1), kWhite);
    RECT box{};
    EXPECT_EQ(GetClipBox(canvas.dc(), &box), COMPLEXREGION);
    RECT whole{0, 0, 10, 10};
    EXPECT_TRUE(EqualRect(&box, &whole));
    EXPECT_EQ(SelectClipRgn(canvas.dc(), nullptr), SIMPLEREGION);
    EXPECT_EQ(IntersectClipRect(canvas.dc(), 20, 20, 30, 30), NULLREGION);
}

TEST(Shapes, SurfaceDcDrawsAtItsOriginInsideItsVisibleRegion) {
    auto screen = std::make_shared<platform::Surface>(40, 30);
    platform::Region visible(RECT{10, 5, 30, 25});
    visible.subtract(RECT{20, 5, 30, 15});  // a child window covers this part
    HDC dc = platform::createSurfaceDC(screen, POINT{10, 5}, visible);
    ASSERT_NE(dc, nullptr);
    RECT all{-100, -100, 100, 100};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            bool expected = visible.contains(x, y);
            ASSERT_EQ(screen->pixel(x, y) == 0xFFFFFFu, expected) << x << "," << y;
        }
    }
    EXPECT_EQ(SetPixel(dc, 0, 0, kRed), kRed);
    EXPECT_EQ(screen->pixel(10, 5), 0xFF0000u);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 40);
    DeleteDC(dc);
}

TEST(Shapes, SaveAndRestoreBringBackObjectsColoursAndClip) {
    Canvas canvas(10, 10);
    HDC dc = canvas.dc();
    int level = SaveDC(dc);
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(dc, red);
    SetTextColor(dc, kRed);
    IntersectClipRect(dc, 0, 0, 2, 2);
    EXPECT_TRUE(RestoreDC(dc, level));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    RECT box{};
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 10);
    EXPECT_FALSE(RestoreDC(dc, -1));
    EXPECT_TRUE(DeleteObject(red));
}

TEST(Shapes, DeletedObjectsStayUsableWhileSelected) {
    Canvas canvas(10, 10);
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(canvas.dc(), red);
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_EQ(GetObjectW(red, 0, nullptr), 0);
    Rectangle(canvas.dc(), 0, 0, 10, 10);
    EXPECT_EQ(canvas.at(5, 5), kRed);
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
    EXPECT_NE(GetObjectW(GetStockObject(BLACK_BRUSH), 0, nullptr), 0);
}

TEST(Shapes, RegionsCombineAsSetsOfPixels) {
    std::mt19937 rng(5);
    for (int round = 0; round < 100; ++round) {
        RECT a = randomRect(rng, 20, 20), b = randomRect(rng, 20, 20);
        HRGN ra = CreateRectRgnIndirect(&a), rb = CreateRectRgnIndirect(&b), out = CreateRectRgn(0, 0, 0, 0);
        for (int mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF}) {
            CombineRgn(out, ra, rb, mode);
            for (int y = -5; y < 25; ++y) {
                for (int x = -5; x < 25; ++x) {
                    bool inA = inside(a, x, y), inB = inside(b, x, y);
                    bool expected = mode == RGN_AND   ? inA && inB
                                    : mode == RGN_OR  ? inA || inB
                                    : mode == RGN_XOR ? inA != inB
                                                      : inA && !inB;
                    ASSERT_EQ(PtInRegion(out, x, y) != FALSE, expected) << mode << " " << x << "," << y;
                }
            }
        }
        DeleteObject(ra);
        DeleteObject(rb);
        DeleteObject(out);
    }
}

}  // namespace
