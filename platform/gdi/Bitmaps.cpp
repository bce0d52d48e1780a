// Bitmap creation: compatible bitmaps, CreateBitmap, 32-bit DIB sections, and bitmaps decoded from
// DIB bytes (RT_BITMAP resources and .bmp files: header, colour table, padded rows).
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

#include "DeviceContext.h"
#include "platform/detail/Gdi.h"
#include "platform/device.h"
#include "platform/handles.h"
#include "platform/resources.h"
#include "platform/winerror.h"

using namespace platform;
using namespace platform::gdi;

namespace {

constexpr long long kMaxDibPixels = 64ll * 1024 * 1024;

template <class T>
T readLe(const BYTE* p) {
    T value;
    std::memcpy(&value, p, sizeof(T));
    return value;
}

uint32_t rgbPixel(BYTE r, BYTE g, BYTE b) {
    return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

// Where a DIB's parts are, after validation.
struct DibLayout {
    BITMAPINFOHEADER header;
    const BYTE* palette;
    int paletteCount;
    const BYTE* bits;
    size_t stride;
    int width;
    int height;
    bool bottomUp;
};

bool parseDibLayout(const BYTE* data, size_t size, DibLayout& out) {
    if (data == nullptr || size < sizeof(BITMAPINFOHEADER)) return false;
    std::memcpy(&out.header, data, sizeof(BITMAPINFOHEADER));
    const BITMAPINFOHEADER& h = out.header;
    int bpp = h.biBitCount;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > size || h.biWidth <= 0 || h.biHeight == 0)
        return false;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
    if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32)))
        return false;
    long long height = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
    if (static_cast<long long>(h.biWidth) * height > kMaxDibPixels) return false;
    size_t offset = h.biSize;
    if (h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER)) offset += 12;
    long long colours = bpp <= 8 ? (h.biClrUsed != 0 ? h.biClrUsed : 1ll << bpp) : h.biClrUsed;
    if (colours > 256 || (bpp <= 8 && colours > (1ll << bpp))) return false;
    out.palette = data + offset;
    out.paletteCount = static_cast<int>(colours);
    offset += static_cast<size_t>(colours) * 4;
    out.width = h.biWidth;
    out.height = static_cast<int>(height);
    out.bottomUp = h.biHeight > 0;
    out.stride = ((static_cast<size_t>(h.biWidth) * static_cast<size_t>(bpp) + 31) / 32) * 4;
    if (offset > size || out.stride * static_cast<size_t>(height) > size - offset) return false;
    out.bits = data + offset;
    return true;
}

uint32_t paletteColour(const DibLayout& d, int index) {
    if (index >= d.paletteCount) return 0;
    const BYTE* q = d.palette + index * 4;
    return rgbPixel(q[2], q[1], q[0]);
}

uint32_t dibPixel(const DibLayout& d, const BYTE* row, int x) {
    switch (d.header.biBitCount) {
        case 1:
            return paletteColour(d, (row[x / 8] >> (7 - x % 8)) & 1);
        case 4:
            return paletteColour(d, (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF);
        case 8:
            return paletteColour(d, row[x]);
        case 16: {
            WORD v = readLe<WORD>(row + x * 2);
            bool is565 = d.header.biCompression == BI_BITFIELDS;
            int r = is565 ? (v >> 11) & 0x1F : (v >> 10) & 0x1F;
            int g = is565 ? ((v >> 5) & 0x3F) : ((v >> 5) & 0x1F) << 1;
            int b = v & 0x1F;
            return rgbPixel(static_cast<BYTE>(r * 255 / 31), static_cast<BYTE>(g * 255 / 63),
                            static_cast<BYTE>(b * 255 / 31));
        }
        case 24:
            return rgbPixel(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
        default:
            return readLe<uint32_t>(row + x * 4) & 0xFFFFFFu;
    }
}

HBITMAP decodeDib(const BYTE* data, size_t size) {
    DibLayout d;
    if (!parseDibLayout(data, size, d)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    auto bitmap = makeBitmap(d.width, d.height, false);
    if (!bitmap) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    for (int y = 0; y < d.height; ++y) {
        const BYTE* row = d.bits + d.stride * static_cast<size_t>(d.bottomUp ? d.height - 1 - y : y);
        uint32_t* out = bitmap->surface->row(y);
        for (int x = 0; x < d.width; ++x)
            out[x] = dibPixel(d, row, x);
    }
    return static_cast<HBITMAP>(registerObject(bitmap));
}

HBITMAP loadBitmapFile(LPCWSTR path) {
    std::ifstream in(hostPath(path), std::ios::binary);
    if (!in) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < sizeof(BITMAPFILEHEADER) || bytes[0] != 'B' || bytes[1] != 'M') {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return decodeDib(bytes.data() + sizeof(BITMAPFILEHEADER), bytes.size() - sizeof(BITMAPFILEHEADER));
}

// A copy of the bitmap scaled to width x height (nearest neighbour).
HBITMAP scaled(HBITMAP source, int width, int height) {
    auto src = objectAs<BitmapObject>(source);
    auto out = makeBitmap(width, height, false);
    if (!src || !out) return source;
    const Surface& s = *src->surface;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = s.row(static_cast<int>((2LL * y + 1) * s.height() / (2LL * height)));
        for (int x = 0; x < width; ++x) {
            out->surface->setPixel(x, y, row[(2LL * x + 1) * s.width() / (2LL * width)]);
        }
    }
    DeleteObject(source);
    return static_cast<HBITMAP>(registerObject(out));
}

}  // namespace

namespace platform {

HBITMAP createBitmapFromDib(const void* data, size_t size) {
    return decodeDib(static_cast<const BYTE*>(data), size);
}

}  // namespace platform

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    bool monochrome = false;
    if (hdc != nullptr) {
        DeviceContext* dc = dcOf(hdc);
        if (dc == nullptr) return nullptr;
        monochrome = dc->surface().monochrome();
    }
    auto bitmap = makeBitmap(width, height, monochrome);
    if (!bitmap) {
        SetLastError(width <= 0 || height <= 0 ? ERROR_INVALID_PARAMETER : ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return static_cast<HBITMAP>(registerObject(bitmap));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 ||
        (bitsPerPixel != 1 && bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto bitmap = makeBitmap(width, height, bitsPerPixel == 1);
    if (!bitmap) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    bitmap->bitsPixel = static_cast<int>(bitsPerPixel);
    if (bits != nullptr) {
        DibLayout d{};
        d.header.biBitCount = static_cast<WORD>(bitsPerPixel);
        d.header.biCompression = bitsPerPixel == 16 ? BI_BITFIELDS : BI_RGB;
        static const BYTE kMono[8] = {0, 0, 0, 0, 255, 255, 255, 0};
        d.palette = kMono;
        d.paletteCount = 2;
        size_t stride = ((static_cast<size_t>(width) * bitsPerPixel + 15) / 16) * 2;
        for (int y = 0; y < height; ++y) {
            const BYTE* row = static_cast<const BYTE*>(bits) + stride * static_cast<size_t>(y);
            for (int x = 0; x < width; ++x)
                bitmap->surface->setPixel(x, y, dibPixel(d, row, x));
        }
    }
    return static_cast<HBITMAP>(registerObject(bitmap));
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset) {
    (void)hdc;
    (void)section;
    (void)offset;
    if (bits != nullptr) *bits = nullptr;
    if (info == nullptr || usage != DIB_RGB_COLORS || info->bmiHeader.biBitCount != 32 ||
        info->bmiHeader.biWidth <= 0 || info->bmiHeader.biHeight == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    int width = info->bmiHeader.biWidth;
    long long height = info->bmiHeader.biHeight < 0 ? -static_cast<long long>(info->bmiHeader.biHeight)
                                                    : info->bmiHeader.biHeight;
    if (width * height > kMaxDibPixels) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    try {
        auto bitmap = std::make_shared<BitmapObject>(nullptr, 32);
        bitmap->dibBits.assign(static_cast<size_t>(width * height), 0u);
        uint32_t* first = bitmap->dibBits.data();
        std::ptrdiff_t stride = width;
        if (info->bmiHeader.biHeight > 0) {
            first += static_cast<std::ptrdiff_t>(width) * (height - 1);
            stride = -stride;
        }
        bitmap->surface = std::make_shared<Surface>(first, width, static_cast<int>(height), stride);
        if (bits != nullptr) *bits = bitmap->dibBits.data();
        return static_cast<HBITMAP>(registerObject(bitmap));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

HBITMAP LoadBitmapW(HINSTANCE module, LPCWSTR name) {
    HRSRC resource = FindResourceW(module, name, RT_BITMAP);
    if (resource == nullptr) return nullptr;
    HGLOBAL data = LoadResource(module, resource);
    DWORD size = SizeofResource(module, resource);
    const void* bytes = LockResource(data);
    if (bytes == nullptr || size == 0) return nullptr;
    return decodeDib(static_cast<const BYTE*>(bytes), size);
}

HANDLE LoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int width, int height, UINT flags) {
    if (type != IMAGE_BITMAP || name == nullptr || width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HBITMAP bitmap = (flags & LR_LOADFROMFILE) ? loadBitmapFile(name) : LoadBitmapW(module, name);
    if (bitmap == nullptr || (width == 0 && height == 0)) return bitmap;
    BITMAP bm{};
    GetObjectW(bitmap, sizeof(bm), &bm);
    int w = width != 0 ? width : bm.bmWidth, h = height != 0 ? height : bm.bmHeight;
    if (w == bm.bmWidth && h == bm.bmHeight) return bitmap;
    return scaled(bitmap, w, h);
}
