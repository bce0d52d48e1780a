// Bitmap resources: "<module folder>/bitmaps/<NAME>.bmp" files become RT_BITMAP resources holding the
// packed DIB (BITMAPINFOHEADER, bit masks, colour table, rows), as a device resource compiler makes
// them from a .bmp file by leaving out its 14-byte file header.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "CompiledResource.h"
#include "Diagnostics.h"

namespace rc {

constexpr uint16_t kBitmapType = 2;

// The packed DIB of a .bmp file's bytes: everything after the file header, with the rows taken from
// where the file header says they start (so a gap between the colour table and the rows is closed).
// A file that is not a Windows bitmap, is truncated, or has a format the device cannot decode (not 1,
// 4, 8, 16, 24 or 32 bits, compressed other than BI_BITFIELDS, a non-positive width, zero height) is
// reported under fileName and gives nothing.
std::optional<std::vector<uint8_t>> packedDibOfBmp(const std::vector<uint8_t>& file,
                                                   const std::string& fileName, Diagnostics& diagnostics);

// Compiles every file of moduleFolder/bitmaps (a missing folder is fine) and appends the resources;
// file names must be "<decimal id or name>.bmp". Each problem is reported and that file left out.
void compileBitmapFolder(const std::filesystem::path& moduleFolder, std::vector<CompiledResource>* out,
                         Diagnostics& diagnostics);

}  // namespace rc
