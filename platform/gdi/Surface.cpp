// Drawing surfaces: owned pixel buffers and views over pixels owned elsewhere (DIB sections, the
// screen framebuffer).
#include "platform/detail/Surface.h"

#include <algorithm>

namespace platform {

Surface::Surface(int width, int height) {
    if (width <= 0 || height <= 0) return;
    m_owned.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
    m_firstRow = m_owned.data();
    m_width = width;
    m_height = height;
    m_stride = width;
}

Surface::Surface(uint32_t* firstRow, int width, int height, std::ptrdiff_t stride) {
    if (firstRow == nullptr || width <= 0 || height <= 0) return;
    m_firstRow = firstRow;
    m_width = width;
    m_height = height;
    m_stride = stride;
}

void Surface::fill(uint32_t value) {
    for (int y = 0; y < m_height; ++y)
        std::fill_n(row(y), m_width, value);
    m_textRuns.clear();
}

}  // namespace platform
