// A drawing surface: 32-bit pixels (0x00RRGGBB, the layout of a 32-bit DIB) with a width, a height and
// a row stride. Bitmaps, DIB sections and the screen framebuffer are surfaces; DCs draw on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/wingdi.h"

namespace platform {

// A run of text drawn on a surface: the text as drawn (one line, shortened texts with their "...")
// and the part of its cell, in surface pixels, that nothing has painted over since.
struct TextRun {
    std::u16string text;
    RECT rect;
};

class Surface {
  public:
    // An owned surface of width x height pixels, all black. A non-positive size gives an empty one.
    Surface(int width, int height);
    // A surface over pixels the caller owns (which must outlive it): row y starts at
    // firstRow + y * stride (stride in pixels, negative for bottom-up memory).
    Surface(uint32_t* firstRow, int width, int height, std::ptrdiff_t stride);

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int width() const { return m_width; }
    int height() const { return m_height; }
    std::ptrdiff_t stride() const { return m_stride; }
    uint32_t* row(int y) { return m_firstRow + y * m_stride; }
    const uint32_t* row(int y) const { return m_firstRow + y * m_stride; }
    // The pixel at (x, y), which must lie inside the surface.
    uint32_t pixel(int x, int y) const { return row(y)[x]; }
    void setPixel(int x, int y, uint32_t value) { row(y)[x] = value; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    // A monochrome surface holds only black and white: colours drawn on it are reduced to those.
    bool monochrome() const { return m_monochrome; }
    void setMonochrome(bool monochrome) { m_monochrome = monochrome; }

    // Fills every pixel; no text is left showing.
    void fill(uint32_t value);

    // The runs of text drawn on the surface that are still showing, in the order they were drawn.
    // The drawing layer keeps them: text adds a run, painting over a run's place removes or trims
    // it, and copying pixels to another surface takes the runs along.
    std::vector<TextRun>& textRuns() { return m_textRuns; }
    const std::vector<TextRun>& textRuns() const { return m_textRuns; }

  private:
    std::vector<uint32_t> m_owned;
    uint32_t* m_firstRow = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::ptrdiff_t m_stride = 0;
    bool m_monochrome = false;
    std::vector<TextRun> m_textRuns;
};

// Pixel <-> COLORREF (0x00BBGGRR).
inline uint32_t pixelFromColor(uint32_t color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
inline uint32_t colorFromPixel(uint32_t pixel) {
    return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}

// Writes the surface as an 8-bit RGB PNG file. Returns false (and leaves no partial file) when the
// file cannot be written.
bool writePng(const Surface& surface, const std::string& path);

}  // namespace platform
