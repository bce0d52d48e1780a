// Drawing one recipe's shapes at a scale: anti-aliased rectangles, rounded rectangles, borders and
// lines rasterised here by sub-pixel sampling, texts drawn with the platform's fonts (anti-aliased
// glyphs) through a memory device context on the same pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "Recipe.h"
#include "platform/windows.h"

namespace skingen {

class SkinPainter {
  public:
    // A black canvas of the recipe's size times scale pixels (1: normal, 2: high resolution).
    SkinPainter(const Recipe& recipe, int scale);
    ~SkinPainter();
    SkinPainter(const SkinPainter&) = delete;
    SkinPainter& operator=(const SkinPainter&) = delete;

    // False when the canvas could not be made (then nothing is drawn).
    bool ok() const { return m_pixels != nullptr; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Draws the shape over what is there. False when a text's font could not be made.
    bool draw(const Shape& shape);
    // Pixel (x, y) as 0x00RRGGBB.
    uint32_t pixel(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }

  private:
    // inside(px, py) says whether a point (pixel coordinates) belongs to the shape; each pixel of the
    // bounds is covered by the share of its sample points that are inside.
    template <class Inside>
    void fillCoverage(double left, double top, double right, double bottom, const Shape& shape,
                      Inside inside);
    void blend(int x, int y, const Shape& shape, double coverage);
    bool drawText(const Shape& shape);

    int m_scale;
    int m_width = 0;
    int m_height = 0;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_pixels = nullptr;
};

}  // namespace skingen
