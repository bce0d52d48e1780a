// Text runs on surfaces: which text was drawn where, dropped or trimmed as other drawing covers it,
// and carried along when pixels are copied between surfaces, so that the text a user sees on the
// screen can be read back (the input scripts' dump-text and tap-text).
#pragma once

#include <string>
#include <vector>

#include "platform/detail/Region.h"
#include "platform/detail/Surface.h"

namespace platform::gdi {

// Records text drawn in cell (surface coordinates) through clip. The run keeps the bounding box of
// the part of the cell inside the clip and the surface; nothing is recorded when that is empty or
// the text holds nothing but blanks and control characters. The same text drawn again over its own
// place (a shadow and the text over it) leaves one run, the latest.
void recordTextRun(Surface& surface, const Region& clip, const RECT& cell, std::u16string text);

// The pixels of rect (surface coordinates) inside clip were painted over: runs wholly covered are
// dropped, runs covered across their whole height or width from one side are trimmed to what
// still shows.
void coverTextRuns(Surface& surface, const Region& clip, const RECT& rect);

// The pixels of sourceRect in a surface holding sourceRuns were copied to destRect of dest inside
// clip (scaled when the rectangles differ in size). With opaque, the copy replaced what was there,
// so the runs under it go first. The source's runs inside sourceRect then show in dest, moved and
// scaled, trimmed to the drawn area.
void copyTextRuns(const std::vector<TextRun>& sourceRuns, const RECT& sourceRect, Surface& dest,
                  const RECT& destRect, const Region& clip, bool opaque);

}  // namespace platform::gdi
