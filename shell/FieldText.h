// How a field's value fits the field: on one line in font 2 when it fits, else in font 4, else in font
// 5 on up to two lines broken between words, shortened with "..." where it still does not fit. Every
// line lies inside the field, also where two lines are taller than the room below the label.
#pragma once

#include <string>
#include <vector>

#include "platform/windows.h"

namespace shell {

struct FieldLine {
    std::u16string text;  // as drawn, "..." included
    RECT rect;            // the line's cell, in the coordinates of the rectangles given
};

struct FieldTextLayout {
    int font = 2;  // the shared font's index: 2, 4 or 5
    std::vector<FieldLine> lines;
};

// The lines of text in box (the value's room below the label), measured on hdc. One line is centred in
// box vertically; two lines of font 5 end at box's bottom and reach up into the label's lower part when
// box is too low for them, never above field's top. Empty text gives no line.
FieldTextLayout layoutFieldText(HDC hdc, const std::u16string& text, const RECT& box, const RECT& field);

// text shortened, one character at a time from its end, until it with "..." after it is at most width
// pixels wide in font; text itself when it fits already. At least "..." stays.
std::u16string shortenWithEllipsis(HDC hdc, HFONT font, const std::u16string& text, int width);

}  // namespace shell
