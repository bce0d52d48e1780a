// The field values' font fall-backs, word breaking and shortening.
#include "FieldText.h"

#include <algorithm>

#include "ScreenMetrics.h"

namespace shell {
namespace {

constexpr std::u16string_view kEllipsis = u"...";

int widthOf(HDC hdc, HFONT font, std::u16string_view text) {
    HGDIOBJ previous = SelectObject(hdc, font);
    SIZE extent{};
    GetTextExtentPoint32W(hdc, text.data(), static_cast<int>(text.size()), &extent);
    SelectObject(hdc, previous);
    return extent.cx;
}

int lineHeightOf(HDC hdc, HFONT font) {
    HGDIOBJ previous = SelectObject(hdc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(hdc, &metrics);
    SelectObject(hdc, previous);
    return metrics.tmHeight;
}

// The longest run of whole words at the start of text that fits width; its length in characters, 0
// when even the first word does not fit.
size_t wordsThatFit(HDC hdc, HFONT font, const std::u16string& text, int width) {
    size_t fits = 0;
    for (size_t from = 0;;) {
        const size_t space = text.find(u' ', from);
        const size_t length = space == std::u16string::npos ? text.size() : space;
        if (widthOf(hdc, font, std::u16string_view(text).substr(0, length)) > width) break;
        fits = length;
        if (space == std::u16string::npos) break;
        from = space + 1;
    }
    return fits;
}

std::u16string trimmedStart(const std::u16string& text) {
    size_t first = text.find_first_not_of(u' ');
    return first == std::u16string::npos ? std::u16string() : text.substr(first);
}

// Font 5's two lines: the words that fit the first line, the rest on the second; a line that still does
// not fit is shortened. A first word wider than the line shortens the whole text on one line.
std::vector<std::u16string> twoLines(HDC hdc, HFONT font, const std::u16string& text, int width) {
    size_t first = wordsThatFit(hdc, font, text, width);
    if (first == 0) return {shortenWithEllipsis(hdc, font, text, width)};
    std::u16string rest = trimmedStart(text.substr(first));
    if (rest.empty()) return {text.substr(0, first)};
    return {text.substr(0, first), shortenWithEllipsis(hdc, font, rest, width)};
}

}  // namespace

std::u16string shortenWithEllipsis(HDC hdc, HFONT font, const std::u16string& text, int width) {
    if (widthOf(hdc, font, text) <= width) return text;
    std::u16string kept = text;
    while (!kept.empty()) {
        kept.pop_back();
        std::u16string shown = kept + std::u16string(kEllipsis);
        if (widthOf(hdc, font, shown) <= width) return shown;
    }
    return std::u16string(kEllipsis);
}

FieldTextLayout layoutFieldText(HDC hdc, const std::u16string& text, const RECT& box, const RECT& field) {
    FieldTextLayout layout;
    if (text.empty()) return layout;
    const int room = box.right - box.left;
    for (int font : {2, 4}) {
        if (widthOf(hdc, sharedFont(font), text) > room) continue;
        layout.font = font;
        int height = lineHeightOf(hdc, sharedFont(font));
        int top = box.top + (box.bottom - box.top - height) / 2;
        layout.lines.push_back({text, RECT{box.left, top, box.right, top + height}});
        return layout;
    }
    layout.font = 5;
    HFONT font = sharedFont(5);
    std::vector<std::u16string> lines = twoLines(hdc, font, text, room);
    const int height = lineHeightOf(hdc, font);
    const int total = height * static_cast<int>(lines.size());
    // Centred in the room below the label when they fit there; otherwise ending at the room's bottom.
    int top = box.top + (box.bottom - box.top - total) / 2;
    if (total > box.bottom - box.top) top = std::max<int>(field.top, box.bottom - total);
    for (std::u16string& line : lines) {
        layout.lines.push_back({std::move(line), RECT{box.left, top, box.right, top + height}});
        top += height;
    }
    return layout;
}

}  // namespace shell
