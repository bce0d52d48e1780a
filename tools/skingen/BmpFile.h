// Writing a painted skin as a 24-bit Windows bitmap file (file header, BITMAPINFOHEADER, bottom-up
// rows padded to four bytes), the form resource compilers take bitmaps in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SkinPainter.h"

namespace skingen {

// The .bmp bytes of the painter's pixels; dpi goes into the header's pixels per metre.
std::vector<uint8_t> bmpBytes(const SkinPainter& painter, int dpi);

// Writes bytes to path through a temporary file and a rename, so that a reader never sees half a
// file; an unchanged file is left untouched (its time stays, so nothing downstream rebuilds).
// False when it cannot be written.
bool writeFileIfChanged(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace skingen
