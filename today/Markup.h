// The mark-up text of the details entries: a wide string whose tags (<b>, <i>, <u>, <s>, <#RRGGBB>,
// </#> and <l>) set the look of the characters after them. Parsing is a pure function of the text, so
// that anything (a stored name included) can be fed to it safely.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace today {

// Bits of a character's attribute word.
enum MarkupAttribute : uint16_t {
    kMarkupBold = 0x01,
    kMarkupItalic = 0x02,
    kMarkupUnderline = 0x04,
    kMarkupStrikeOut = 0x08,
    kMarkupRule = 0x10,  // a line feed drawn as a horizontal rule
};

// A colour in the platform's COLORREF layout: red in the low byte, then green, then blue.
constexpr uint32_t markupColour(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint32_t>(red) | (static_cast<uint32_t>(green) << 8) |
           (static_cast<uint32_t>(blue) << 16);
}
inline constexpr uint32_t kMarkupBlack = 0;

// A parsed block: three parallel arrays, one element per character produced. characters.c_str() is
// terminated by a zero that the other two arrays do not count.
struct MarkupText {
    std::u16string characters;
    std::vector<uint16_t> attributes;
    std::vector<uint32_t> colours;

    size_t size() const { return characters.size(); }
    bool operator==(const MarkupText&) const = default;
};

// Parses text up to its end or its first zero character, in two passes (count, then fill):
// - "</b>", "</i>", "</u>", "</s>" clear their own bit; "</#>" makes the colour black again;
// - "<b>", "<i>", "<u>", "<s>" set their bit (tag letters in either case);
// - "<l>" produces one line feed carrying the current attributes plus kMarkupRule;
// - "<#" followed by any six characters and ">" sets the colour 0xRRGGBB read from the leading
//   hexadecimal digits of the six (a non-hexadecimal character ends the number);
// - any other "<" is an ordinary character, as is everything else.
// Never fails; every character of the result carries the attributes and colour in force where it
// stood.
MarkupText parseMarkup(std::u16string_view text);

}  // namespace today
