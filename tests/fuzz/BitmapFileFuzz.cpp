// Bitmap files of rc: any bytes give a packed DIB no larger than the file, or a report.
#include "Bitmaps.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceErrorReports();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rc::Diagnostics diagnostics;
    auto dib = rc::packedDibOfBmp(std::vector<uint8_t>(data, data + size), "fuzz.bmp", diagnostics);
    fuzz::check(dib.has_value() != diagnostics.failed(), "a bitmap is either packed or reported");
    fuzz::check(!dib || dib->size() <= size, "the packed DIB comes from the file's bytes");
    return 0;
}
