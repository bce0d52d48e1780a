// Measuring and drawing runs of text in a font instance on a DC; ExtTextOutW and DrawTextW share it.
#pragma once

#include "DeviceContext.h"
#include "FontSystem.h"

#include <string>

namespace platform::gdi {

// The DC's font instance, or null (ERROR_INVALID_HANDLE / no face). Requires the font lock.
FontInstance* fontOf(DeviceContext& dc);

// Sum of the advances of count UTF-16 characters; partial (optional, count entries) receives the
// width after each character.
int textWidth(FontInstance& font, const char16_t* text, int count, int* partial = nullptr);

// Draws count characters with the top of the cell at logical (x, top) in the DC's text colour, with
// underline and strike-out as the font has them. dx (optional) gives each character's advance. With
// clip (logical), nothing is drawn outside it. With opaque, the text cell is filled with the
// background colour first. Returns the width drawn.
int drawRun(DeviceContext& dc, FontInstance& font, int x, int top, const char16_t* text, int count,
            const int* dx, const RECT* clip, bool opaque);

// Records the text drawn in the cell at logical (x, top), width x height pixels, as a run of the
// DC's surface (the part inside clip, logical, when given, and the DC's clip).
void recordRun(DeviceContext& dc, int x, int top, int width, int height, const RECT* clip,
               std::u16string text);

// Underlines the characters [from, from + count) of a run drawn at (x, top) (mnemonic marks).
void underlineChars(DeviceContext& dc, FontInstance& font, int x, int top, const char16_t* text, int from,
                    int count, const RECT* clip);

}  // namespace platform::gdi
