// Bitmaps from DIB resources, DIB sections, image lists and PNG snapshots.
#include <png.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "GdiTestSupport.h"
#include "TempRoot.h"

using namespace gditest;

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);

// A DIB of width x height with bpp bits per pixel whose pixel (x, y) is colourAt(x, y); 8-bit DIBs get
// a palette of the distinct colours. Rows are bottom-up unless topDown.
template <class ColourFn>
std::vector<BYTE> makeDib(int width, int height, int bpp, bool topDown, ColourFn colourAt) {
    std::vector<COLORREF> palette;
    if (bpp == 8) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (std::find(palette.begin(), palette.end(), colourAt(x, y)) == palette.end())
                    palette.push_back(colourAt(x, y));
            }
        }
    }
    size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = width;
    h.biHeight = topDown ? -height : height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bpp);
    h.biClrUsed = static_cast<DWORD>(palette.size());
    std::vector<BYTE> dib(sizeof(h) + palette.size() * 4 + stride * height);
    std::memcpy(dib.data(), &h, sizeof(h));
    BYTE* p = dib.data() + sizeof(h);
    for (COLORREF c : palette) {
        p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c), p[3] = 0;
        p += 4;
    }
    for (int y = 0; y < height; ++y) {
        BYTE* row = p + stride * static_cast<size_t>(topDown ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            COLORREF c = colourAt(x, y);
            if (bpp == 8) {
                row[x] = static_cast<BYTE>(std::find(palette.begin(), palette.end(), c) - palette.begin());
                continue;
            }
            BYTE* px = row + x * (bpp / 8);
            px[0] = GetBValue(c), px[1] = GetGValue(c), px[2] = GetRValue(c);
        }
    }
    return dib;
}

COLORREF pattern(int x, int y) {
    return (x / 4) % 2 == 0 && y > 1 ? kKey : RGB(x * 10, y * 20, 7);
}

void expectPattern(HBITMAP bitmap, int width, int height) {
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    GetObjectW(bitmap, sizeof(bm), &bm);
    ASSERT_EQ(bm.bmWidth, width);
    ASSERT_EQ(bm.bmHeight, height);
    auto s = platform::surfaceOf(bitmap);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(platform::colorFromPixel(s->pixel(x, y)), pattern(x, y)) << x << "," << y;
    }
}

class ResourceBitmaps : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dibs = {makeDib(16, 5, 24, false, pattern), makeDib(16, 5, 8, false, pattern),
                  makeDib(16, 5, 32, true, pattern)};
        for (size_t i = 0; i < m_dibs.size(); ++i) {
            m_entries.push_back(platform::ResourceEntry{{2, nullptr},
                                                        {static_cast<WORD>(101 + i), nullptr},
                                                        m_dibs[i].data(),
                                                        static_cast<DWORD>(m_dibs[i].size())});
        }
        ASSERT_TRUE(platform::registerModuleResources(
            module, platform::ResourceTable{m_entries.data(), m_entries.size()}));
    }
    void TearDown() override { platform::unregisterModuleResources(module); }

    HINSTANCE module = reinterpret_cast<HINSTANCE>(&m_dibs);

  private:
    std::vector<std::vector<BYTE>> m_dibs;
    std::vector<platform::ResourceEntry> m_entries;
};

TEST_F(ResourceBitmaps, LoadBitmapDecodesEveryDepthAndRowOrder) {
    for (int id : {101, 102, 103}) {
        HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(id));
        expectPattern(bitmap, 16, 5);
        DeleteObject(bitmap);
    }
    EXPECT_EQ(LoadBitmapW(module, MAKEINTRESOURCEW(104)), nullptr);
    HANDLE stretched = LoadImageW(module, MAKEINTRESOURCEW(101), IMAGE_BITMAP, 32, 10, 0);
    BITMAP bm{};
    GetObjectW(stretched, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 10);
    DeleteObject(stretched);
}

TEST_F(ResourceBitmaps, ImageListsCutStripsAndDrawWithTheMask) {
    HIMAGELIST list = ImageList_LoadImageW(module, MAKEINTRESOURCEW(101), 8, 0, kKey, IMAGE_BITMAP, 0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    Canvas canvas(20, 10, RGB(0, 0, 255));
    ASSERT_TRUE(ImageList_Draw(list, 1, canvas.dc(), 2, 3, ILD_TRANSPARENT));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 8; ++x) {
            COLORREF source = pattern(8 + x, y);
            EXPECT_EQ(canvas.at(2 + x, 3 + y), source == kKey ? RGB(0, 0, 255) : source);
        }
    }
    EXPECT_EQ(canvas.at(10, 3), RGB(0, 0, 255));
    EXPECT_FALSE(ImageList_Draw(list, 2, canvas.dc(), 0, 0, ILD_NORMAL));
    ImageList_SetBkColor(list, RGB(1, 2, 3));
    ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_NORMAL);
    EXPECT_EQ(canvas.at(0, 2), RGB(1, 2, 3));
    EXPECT_TRUE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
}

TEST(Bitmaps, MalformedOrTruncatedDibsAreRefused) {
    std::vector<BYTE> good = makeDib(7, 3, 24, false, pattern);
    HBITMAP ok = platform::createBitmapFromDib(good.data(), good.size());
    expectPattern(ok, 7, 3);
    DeleteObject(ok);
    for (size_t cut = 0; cut < good.size(); cut += 7) {
        EXPECT_EQ(platform::createBitmapFromDib(good.data(), cut), nullptr) << cut;
    }
    std::mt19937 rng(21);
    for (int round = 0; round < 500; ++round) {  // random header corruption must never crash
        std::vector<BYTE> bad = good;
        bad[rng() % sizeof(BITMAPINFOHEADER)] = static_cast<BYTE>(rng());
        HBITMAP b = platform::createBitmapFromDib(bad.data(), bad.size());
        if (b != nullptr) DeleteObject(b);
    }
    BITMAPINFOHEADER huge{sizeof(BITMAPINFOHEADER), 1 << 20, 1 << 20, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_EQ(platform::createBitmapFromDib(&huge, sizeof(huge)), nullptr);
}

TEST(Bitmaps, DibSectionsShareTheirPixelsWithTheCaller) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 3, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(bits, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    SetPixel(dc, 1, 0, RGB(10, 20, 30));  // top row is the last row in memory (bottom-up)
    auto* pixels = static_cast<uint32_t*>(bits);
    EXPECT_EQ(pixels[2 * 4 + 1], 0x0A141Eu);
    pixels[0] = 0x00FF0000u;  // bottom-left, red
    EXPECT_EQ(GetPixel(dc, 0, 2), RGB(255, 0, 0));
    info.bmiHeader.biBitCount = 24;
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    SelectObject(dc, old);
    DeleteObject(section);
    DeleteDC(dc);
}

std::vector<uint32_t> readPng(const std::string& path, int& width, int& height) {
    std::vector<uint32_t> pixels;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return pixels;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_read_info(png, info);
        width = static_cast<int>(png_get_image_width(png, info));
        height = static_cast<int>(png_get_image_height(png, info));
        std::vector<png_byte> row(png_get_rowbytes(png, info));
        for (int y = 0; y < height; ++y) {
            png_read_row(png, row.data(), nullptr);
            for (int x = 0; x < width; ++x) {
                pixels.push_back((uint32_t{row[x * 3]} << 16) | (uint32_t{row[x * 3 + 1]} << 8) |
                                 row[x * 3 + 2]);
            }
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return pixels;
}

TEST(Bitmaps, PngSnapshotsReadBackPixelForPixel) {
    platform::testing::TempRoot root;
    std::mt19937 rng(22);
    Canvas canvas(23, 17);
    auto s = platform::surfaceOf(canvas.bitmap());
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 23; ++x)
            s->setPixel(x, y, rng() & 0xFFFFFF);
    }
    std::string path = root.path() + "/shot.png";
    ASSERT_TRUE(platform::writePng(canvas.bitmap(), path));
    int width = 0, height = 0;
    std::vector<uint32_t> pixels = readPng(path, width, height);
    ASSERT_EQ(width, 23);
    ASSERT_EQ(height, 17);
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 23; ++x)
            ASSERT_EQ(pixels[y * 23 + x], s->pixel(x, y));
    }
    EXPECT_FALSE(platform::writePng(*s, root.path() + "/missing/folder/shot.png"));
}

}  // namespace
