// Shared by the fuzz targets: the input as text, a check that stops the run with its reason, and
// silencing of the tools' error reports, which every malformed input would print.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace fuzz {

inline std::string textOf(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The input as UTF-16 units, two bytes each (little-endian); an odd last byte is dropped.
inline std::u16string unitsOf(const uint8_t* data, size_t size) {
    std::u16string units;
    for (size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return units;
}

// A property every input must keep; a broken one is reported like a crash, with the input saved.
inline void check(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", property);
    std::abort();
}

// Error reports on std::cerr are dropped (the stream stays usable and writes nothing).
inline void silenceErrorReports() {
    std::cerr.rdbuf(nullptr);
}

}  // namespace fuzz
