// 24-bit BMP encoding and the careful write of generated files.
#include "BmpFile.h"

#include "AtomicFile.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace skingen {
namespace {

void putLe(std::vector<uint8_t>& out, uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> bmpBytes(const SkinPainter& painter, int dpi) {
    const uint32_t width = static_cast<uint32_t>(painter.width());
    const uint32_t height = static_cast<uint32_t>(painter.height());
    const uint32_t stride = (width * 3 + 3) / 4 * 4;
    const uint32_t headers = 14 + 40;
    const uint32_t perMetre = static_cast<uint32_t>(std::lround(dpi / 0.0254));
    std::vector<uint8_t> out;
    out.reserve(headers + stride * height);
    out.push_back('B');
    out.push_back('M');
    putLe(out, headers + stride * height, 4);
    putLe(out, 0, 4);  // reserved
    putLe(out, headers, 4);
    for (uint32_t value : {40u, width, height})
        putLe(out, value, 4);
    putLe(out, 1, 2);   // planes
    putLe(out, 24, 2);  // bits per pixel
    for (uint32_t value : {0u, stride * height, perMetre, perMetre, 0u, 0u})
        putLe(out, value, 4);
    for (int y = painter.height() - 1; y >= 0; --y) {
        for (int x = 0; x < painter.width(); ++x)
            putLe(out, painter.pixel(x, y), 3);  // 0x00RRGGBB little-endian: B, G, R
        for (uint32_t pad = width * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

bool writeFileIfChanged(const std::string& path, const std::vector<uint8_t>& bytes) {
    {
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in && old == bytes) return true;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return tools::writeFileAtomically(path, text);
}

}  // namespace skingen
