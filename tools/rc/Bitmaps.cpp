// Compiling .bmp files into RT_BITMAP resources: checking the file and DIB headers, and packing the
// header, masks, colour table and rows into the resource bytes.
#include "Bitmaps.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "TextResources.h"

namespace rc {
namespace {

namespace fs = std::filesystem;

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;  // what the platform's decoder accepts

uint32_t readLe(const std::vector<uint8_t>& bytes, size_t offset, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[offset + static_cast<size_t>(i)];
    return value;
}

// The parts of a checked .bmp file, as offsets and sizes into it.
struct BmpLayout {
    size_t headerEnd;  // end of the info header, bit masks and colour table
    size_t rowsStart;
    size_t rowsSize;
};

// Checks the info header; "" when the bitmap is one the device decodes, else the reason.
std::string checkInfoHeader(const std::vector<uint8_t>& f, size_t* tableSize, uint64_t* rowsSize) {
    const size_t h = kFileHeaderSize;
    uint32_t headerSize = readLe(f, h, 4);
    int32_t width = static_cast<int32_t>(readLe(f, h + 4, 4));
    int32_t height = static_cast<int32_t>(readLe(f, h + 8, 4));
    uint32_t bits = readLe(f, h + 14, 2), compression = readLe(f, h + 16, 4), used = readLe(f, h + 32, 4);
    if (headerSize < kInfoHeaderSize) return "unsupported DIB header (older than BITMAPINFOHEADER)";
    if (width <= 0 || height == 0 || height == INT32_MIN) return "bad size: width must be > 0, height not 0";
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return "unsupported depth of " + std::to_string(bits) + " bits per pixel";
    bool masks = compression == kBiBitfields && (bits == 16 || bits == 32);
    if (compression != kBiRgb && !masks) return "compressed bitmaps are not supported";
    uint64_t rows = static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
    if (static_cast<uint64_t>(width) * rows > kMaxPixels) return "too large";
    uint64_t colours = bits <= 8 ? (used != 0 ? used : 1u << bits) : used;
    if (colours > 256 || (bits <= 8 && colours > (1u << bits))) return "bad colour table size";
    *tableSize = headerSize + (masks && headerSize == kInfoHeaderSize ? 12 : 0) + colours * 4;
    *rowsSize = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4 * rows;
    return "";
}

std::optional<BmpLayout> layoutOf(const std::vector<uint8_t>& f, std::string* reason) {
    if (f.size() < kFileHeaderSize + kInfoHeaderSize || f[0] != 'B' || f[1] != 'M') {
        *reason = "not a BMP file";
        return std::nullopt;
    }
    size_t tableSize = 0;
    uint64_t rowsSize = 0;
    *reason = checkInfoHeader(f, &tableSize, &rowsSize);
    if (!reason->empty()) return std::nullopt;
    BmpLayout layout{kFileHeaderSize + tableSize, readLe(f, 10, 4), static_cast<size_t>(rowsSize)};
    if (layout.headerEnd > f.size() || layout.rowsStart < layout.headerEnd || layout.rowsStart > f.size() ||
        rowsSize > f.size() - layout.rowsStart) {
        *reason = "truncated: the header, colour table or rows run past the end of the file";
        return std::nullopt;
    }
    return layout;
}

void compileBitmapFile(const fs::path& file, std::vector<CompiledResource>* out, Diagnostics& diagnostics) {
    auto name = file.extension() == ".bmp" ? parseResourceKey(file.stem().string()) : std::nullopt;
    if (!name || !fs::is_regular_file(file)) {
        diagnostics.error(file.string(), 0, "bad bitmap file name: expected <number 0-65535 or name>.bmp");
        return;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        diagnostics.error(file.string(), 0, "cannot be read");
        return;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto dib = packedDibOfBmp(bytes, file.string(), diagnostics);
    fs::path moduleFolder = file.parent_path().parent_path();
    std::string origin = (moduleFolder.filename() / file.lexically_relative(moduleFolder)).string();
    if (dib) out->push_back({ResourceKey{kBitmapType, {}}, *name, std::move(*dib), origin});
}

}  // namespace

std::optional<std::vector<uint8_t>> packedDibOfBmp(const std::vector<uint8_t>& file,
                                                   const std::string& fileName, Diagnostics& diagnostics) {
    std::string reason;
    auto layout = layoutOf(file, &reason);
    if (!layout) {
        diagnostics.error(fileName, 0, reason);
        return std::nullopt;
    }
    auto first = file.begin();
    std::vector<uint8_t> dib(first + kFileHeaderSize, first + static_cast<long>(layout->headerEnd));
    auto rows = first + static_cast<long>(layout->rowsStart);
    dib.insert(dib.end(), rows, rows + static_cast<long>(layout->rowsSize));
    return dib;
}

void compileBitmapFolder(const fs::path& moduleFolder, std::vector<CompiledResource>* out,
                         Diagnostics& diagnostics) {
    fs::path folder = moduleFolder / "bitmaps";
    if (!fs::is_directory(folder)) return;
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files)
        compileBitmapFile(file, out, diagnostics);
}

}  // namespace rc
