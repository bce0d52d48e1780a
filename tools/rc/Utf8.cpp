// Strict UTF-8 decoding.
#include "Utf8.h"

namespace rc {
namespace {

// Length of the sequence a lead byte starts, and the smallest code point such a sequence may encode.
bool leadByte(unsigned char b, int* length, char32_t* value, char32_t* minimum) {
    if (b < 0x80) return *length = 1, *value = b, *minimum = 0, true;
    if ((b & 0xE0) == 0xC0) return *length = 2, *value = b & 0x1F, *minimum = 0x80, true;
    if ((b & 0xF0) == 0xE0) return *length = 3, *value = b & 0x0F, *minimum = 0x800, true;
    if ((b & 0xF8) == 0xF0) return *length = 4, *value = b & 0x07, *minimum = 0x10000, true;
    return false;
}

}  // namespace

void appendCodePoint(char32_t cp, std::u16string* out) {
    if (cp < 0x10000) {
        out->push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

bool appendUtf8(std::string_view text, std::u16string* out, size_t* badOffset) {
    for (size_t i = 0; i < text.size();) {
        int length = 0;
        char32_t value = 0;
        char32_t minimum = 0;
        bool good = leadByte(static_cast<unsigned char>(text[i]), &length, &value, &minimum) &&
                    i + static_cast<size_t>(length) <= text.size();
        for (int k = 1; good && k < length; ++k) {
            auto b = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            good = (b & 0xC0) == 0x80;
            value = (value << 6) | (b & 0x3F);
        }
        if (!good || value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            *badOffset = i;
            return false;
        }
        appendCodePoint(value, out);
        i += static_cast<size_t>(length);
    }
    return true;
}

}  // namespace rc
