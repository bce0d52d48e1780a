// PNG snapshots of surfaces and bitmaps, written with libpng through a temporary file and a rename so
// that a failed write leaves no partial image.
#include <png.h>

#include <cstdio>
#include <vector>

#include "GdiObjects.h"
#include "platform/detail/Gdi.h"

namespace platform {
namespace {

bool encode(const Surface& surface, FILE* file) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> line(static_cast<size_t>(surface.width()) * 3);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info == nullptr ? nullptr : &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(surface.width()),
                 static_cast<png_uint_32>(surface.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < surface.height(); ++y) {
        const uint32_t* row = surface.row(y);
        for (int x = 0; x < surface.width(); ++x) {
            line[x * 3] = static_cast<png_byte>(row[x] >> 16);
            line[x * 3 + 1] = static_cast<png_byte>(row[x] >> 8);
            line[x * 3 + 2] = static_cast<png_byte>(row[x]);
        }
        png_write_row(png, line.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool writePng(const Surface& surface, const std::string& path) {
    if (surface.width() <= 0 || surface.height() <= 0 || path.empty()) return false;
    std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = encode(surface, file);
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

bool writePng(HBITMAP bitmap, const std::string& path) {
    auto b = gdi::objectAs<gdi::BitmapObject>(bitmap);
    return b && writePng(*b->surface, path);
}

std::shared_ptr<Surface> surfaceOf(HBITMAP bitmap) {
    auto b = gdi::objectAs<gdi::BitmapObject>(bitmap);
    return b ? b->surface : nullptr;
}

}  // namespace platform
