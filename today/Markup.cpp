// Parsing mark-up text: one walk over the text drives either a counter or the filling of the arrays.
#include "Markup.h"

#include <algorithm>

namespace today {

namespace {

constexpr size_t kColourDigits = 6;

char16_t lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// The attribute bit of a style letter, 0 for any other character.
uint16_t styleBit(char16_t c) {
    switch (lower(c)) {
        case u'b':
            return kMarkupBold;
        case u'i':
            return kMarkupItalic;
        case u'u':
            return kMarkupUnderline;
        case u's':
            return kMarkupStrikeOut;
        default:
            return 0;
    }
}

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    const char16_t l = lower(c);
    if (l >= u'a' && l <= u'f') return l - u'a' + 10;
    return -1;
}

// 0xRRGGBB from the leading hexadecimal digits of six characters, as a COLORREF.
uint32_t colourOf(std::u16string_view digits) {
    uint32_t value = 0;
    for (char16_t c : digits) {
        const int digit = hexValue(c);
        if (digit < 0) break;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return markupColour(static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value));
}

// Walks the text; sink(character, attributes, colour) receives every character produced.
template <typename Sink>
void walk(std::u16string_view text, Sink&& sink) {
    const size_t end = std::min(text.find(u'\0'), text.size());
    auto at = [&](size_t i) { return i < end ? text[i] : u'\0'; };
    uint16_t attributes = 0;
    uint32_t colour = kMarkupBlack;
    for (size_t i = 0; i < end;) {
        if (text[i] == u'<') {
            const char16_t next = at(i + 1);
            if (next == u'/' && at(i + 3) == u'>' && (at(i + 2) == u'#' || styleBit(at(i + 2)) != 0)) {
                if (at(i + 2) == u'#')
                    colour = kMarkupBlack;
                else
                    attributes &= static_cast<uint16_t>(~styleBit(at(i + 2)));
                i += 4;
                continue;
            }
            if (styleBit(next) != 0 && at(i + 2) == u'>') {
                attributes |= styleBit(next);
                i += 3;
                continue;
            }
            if (lower(next) == u'l' && at(i + 2) == u'>') {
                sink(u'\n', static_cast<uint16_t>(attributes | kMarkupRule), colour);
                i += 3;
                continue;
            }
            if (next == u'#' && i + 2 + kColourDigits < end && text[i + 2 + kColourDigits] == u'>') {
                colour = colourOf(text.substr(i + 2, kColourDigits));
                i += 3 + kColourDigits;
                continue;
            }
        }
        sink(text[i], attributes, colour);
        ++i;
    }
}

}  // namespace

MarkupText parseMarkup(std::u16string_view text) {
    size_t count = 0;
    walk(text, [&](char16_t, uint16_t, uint32_t) { ++count; });
    MarkupText parsed;
    parsed.characters.reserve(count);
    parsed.attributes.reserve(count);
    parsed.colours.reserve(count);
    walk(text, [&](char16_t c, uint16_t attributes, uint32_t colour) {
        parsed.characters.push_back(c);
        parsed.attributes.push_back(attributes);
        parsed.colours.push_back(colour);
    });
    return parsed;
}

}  // namespace today
