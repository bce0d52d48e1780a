// Bitmaps decoded from DIB bytes (RT_BITMAP resources, and .bmp files after their file header): any
// bytes give a bitmap of the size the header states, or are refused.
#include <cstring>

#include "FuzzSupport.h"
#include "platform/detail/Gdi.h"
#include "platform/windows.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HBITMAP bitmap = platform::createBitmapFromDib(data, size);
    if (bitmap == nullptr) return 0;
    BITMAP info{};
    fuzz::check(GetObjectW(bitmap, sizeof info, &info) == sizeof info, "a decoded bitmap is a bitmap");
    int32_t height = 0;
    std::memcpy(&height, data + 8, sizeof height);
    fuzz::check(size >= 40 && info.bmHeight == (height < 0 ? -static_cast<int64_t>(height) : height),
                "the bitmap has the height its header states");
    DeleteObject(bitmap);
    return 0;
}
