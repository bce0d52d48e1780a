// Block transfers: copies, stretches, transparent copies, raster operations and monochrome
// conversions, checked against the source pixel by pixel.
#include <random>

#include "GdiTestSupport.h"

using namespace gditest;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kKey = RGB(255, 0, 255);

void paintNoise(Canvas& canvas, std::mt19937& rng, bool withKey) {
    std::uniform_int_distribution<int> byte(0, 255), pick(0, 3);
    auto s = platform::surfaceOf(canvas.bitmap());
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            COLORREF c = withKey && pick(rng) == 0 ? kKey : RGB(byte(rng), byte(rng), byte(rng) & 0xFE);
            s->setPixel(x, y, platform::pixelFromColor(c));
        }
    }
}

TEST(Blit, BitBltCopiesTheSourceRectangleAndNothingElse) {
    std::mt19937 rng(11);
    Canvas src(40, 30), dst(50, 40);
    std::uniform_int_distribution<int> pos(-10, 45), size(0, 30);
    for (int round = 0; round < 200; ++round) {
        paintNoise(src, rng, false);
        dst.fill(kWhite);
        int x = pos(rng), y = pos(rng), w = size(rng), h = size(rng), xs = pos(rng), ys = pos(rng);
        ASSERT_TRUE(BitBlt(dst.dc(), x, y, w, h, src.dc(), xs, ys, SRCCOPY));
        for (int py = 0; py < 40; ++py) {
            for (int px = 0; px < 50; ++px) {
                int sx = px - x + xs, sy = py - y + ys;
                bool copied = px >= x && px < x + w && py >= y && py < y + h && sx >= 0 && sy >= 0 &&
                              sx < 40 && sy < 30;
                COLORREF expected = copied ? src.at(sx, sy) : kWhite;
                ASSERT_EQ(dst.at(px, py), expected) << round << ": " << px << "," << py;
            }
        }
    }
}

TEST(Blit, StretchBltSamplesTheNearestSourcePixel) {
    std::mt19937 rng(12);
    Canvas src(8, 6), dst(40, 40);
    paintNoise(src, rng, false);
    ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, 16, 18, src.dc(), 0, 0, 8, 6, SRCCOPY));
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(dst.at(x, y), src.at(x / 2, y / 3));
    }
    EXPECT_EQ(dst.at(16, 0), kWhite);
    ASSERT_TRUE(StretchBlt(dst.dc(), 20, 20, 4, 3, src.dc(), 0, 0, 8, 6, SRCCOPY));
    EXPECT_EQ(dst.at(20, 20), src.at(1, 1));
    ASSERT_TRUE(StretchBlt(dst.dc(), 30, 30, -8, 6, src.dc(), 0, 0, 8, 6, SRCCOPY));  // mirrored
    EXPECT_EQ(dst.at(22, 30), src.at(7, 0));
    EXPECT_EQ(dst.at(29, 30), src.at(0, 0));
}

TEST(Blit, TransparentImageLeavesTheTransparentColourOut) {
    std::mt19937 rng(13);
    Canvas src(12, 10), dst(30, 30, RGB(0, 128, 0));
    for (int round = 0; round < 50; ++round) {
        paintNoise(src, rng, true);
        dst.fill(RGB(0, 128, 0));
        bool stretched = round % 2 == 1;
        int w = stretched ? 24 : 12, h = stretched ? 20 : 10;
        HANDLE source = round % 4 < 2 ? static_cast<HANDLE>(src.dc()) : static_cast<HANDLE>(src.bitmap());
        ASSERT_TRUE(TransparentImage(dst.dc(), 3, 4, w, h, source, 0, 0, 12, 10, kKey));
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                bool inArea = x >= 3 && x < 3 + w && y >= 4 && y < 4 + h;
                COLORREF s = inArea ? src.at((x - 3) * 12 / w, (y - 4) * 10 / h) : kKey;
                COLORREF expected = s == kKey ? RGB(0, 128, 0) : s;
                ASSERT_EQ(dst.at(x, y), expected) << round << ": " << x << "," << y;
            }
        }
    }
}

TEST(Blit, RasterOperationsCombineSourceDestinationAndPattern) {
    Canvas src(4, 1), dst(4, 1);
    auto put = [](Canvas& c, COLORREF a, COLORREF b) {
        SetPixel(c.dc(), 0, 0, a);
        SetPixel(c.dc(), 1, 0, b);
    };
    put(src, RGB(0xF0, 0x0F, 0x33), RGB(0, 0, 0));
    struct Case {
        DWORD rop;
        COLORREF expected;
    };
    const COLORREF d = RGB(0xAA, 0x55, 0x0F), s = RGB(0xF0, 0x0F, 0x33);
    const Case cases[] = {{SRCCOPY, s},
                          {SRCAND, s & d},
                          {SRCPAINT, s | d},
                          {SRCINVERT, s ^ d},
                          {SRCERASE, s & ~d & 0xFFFFFF},
                          {NOTSRCCOPY, ~s & 0xFFFFFF},
                          {DSTINVERT, ~d & 0xFFFFFF},
                          {BLACKNESS, 0},
                          {WHITENESS, 0xFFFFFF},
                          {PATCOPY, kWhite}};
    for (const Case& c : cases) {
        put(dst, d, d);
        ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, c.rop));
        EXPECT_EQ(dst.at(0, 0), c.expected) << std::hex << c.rop;
        EXPECT_EQ(dst.at(1, 0), d);
    }
    EXPECT_FALSE(PatBlt(dst.dc(), 0, 0, 1, 1, SRCCOPY));
}

TEST(Blit, OverlappingCopyWithinOneSurfaceMovesTheOriginalPixels) {
    std::mt19937 rng(14);
    Canvas canvas(20, 20);
    paintNoise(canvas, rng, false);
    Canvas original(20, 20);
    BitBlt(original.dc(), 0, 0, 20, 20, canvas.dc(), 0, 0, SRCCOPY);
    ExcludeClipRect(canvas.dc(), 8, 0, 10, 20);  // two clip pieces over the overlapping area
    ASSERT_TRUE(BitBlt(canvas.dc(), 3, 2, 15, 15, canvas.dc(), 0, 0, SRCCOPY));
    for (int y = 2; y < 17; ++y) {
        for (int x = 3; x < 18; ++x) {
            if (x >= 8 && x < 10) continue;
            ASSERT_EQ(canvas.at(x, y), original.at(x - 3, y - 2));
        }
    }
}

TEST(Blit, MonochromeBitmapsMapToTextAndBackgroundColours) {
    HDC mono = CreateCompatibleDC(nullptr);
    HBITMAP mask = CreateCompatibleBitmap(mono, 4, 1);  // a fresh memory DC is monochrome
    BITMAP bm{};
    GetObjectW(mask, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    HGDIOBJ old = SelectObject(mono, mask);
    Canvas colour(4, 1);
    SetPixel(colour.dc(), 0, 0, kKey);
    SetPixel(colour.dc(), 1, 0, RGB(1, 2, 3));
    SetBkColor(colour.dc(), kKey);
    BitBlt(mono, 0, 0, 4, 1, colour.dc(), 0, 0, SRCCOPY);  // background colour -> white, others -> black
    EXPECT_EQ(GetPixel(mono, 0, 0), kWhite);
    EXPECT_EQ(GetPixel(mono, 1, 0), RGB(0, 0, 0));
    SetTextColor(colour.dc(), RGB(10, 20, 30));
    SetBkColor(colour.dc(), RGB(200, 100, 50));
    BitBlt(colour.dc(), 0, 0, 4, 1, mono, 0, 0, SRCCOPY);  // white -> background, black -> text colour
    EXPECT_EQ(colour.at(0, 0), RGB(200, 100, 50));
    EXPECT_EQ(colour.at(1, 0), RGB(10, 20, 30));
    SelectObject(mono, old);
    DeleteObject(mask);
    DeleteDC(mono);
}

TEST(Blit, ABitmapLivesInOneMemoryDcAtATime) {
    HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(3, 3, 1, 32, nullptr);
    HGDIOBJ oldA = SelectObject(a, bitmap);
    ASSERT_NE(oldA, nullptr);
    EXPECT_EQ(SelectObject(b, bitmap), nullptr);
    SelectObject(a, oldA);
    HGDIOBJ oldB = SelectObject(b, bitmap);
    EXPECT_NE(oldB, nullptr);
    EXPECT_EQ(GetDeviceCaps(b, HORZRES), 3);
    SelectObject(b, oldB);
    DeleteObject(bitmap);
    DeleteDC(a);
    DeleteDC(b);
}

}  // namespace
