// The fonts a mark-up block is drawn with: a normal font given by the caller and one font derived
// from it per style (bold, italic, bold italic, underline, strike-out), with the widths and heights
// of the characters measured in each, cached so that many blocks sharing the fonts measure once.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>

#include "platform/wingdi.h"

namespace today {

// The font slots: 0 normal, then one per style.
inline constexpr int kFontSlots = 6;

// The slot of a character's attribute word: the rule bit is ignored; exactly bold, italic, bold and
// italic, underline or strike-out takes that style's font; any other combination the normal font.
int fontSlotOf(uint16_t attributes);

class MarkupFonts {
  public:
    // normal stays the caller's and must outlive this object.
    explicit MarkupFonts(HFONT normal);
    // Deletes the derived fonts.
    ~MarkupFonts();
    MarkupFonts(const MarkupFonts&) = delete;
    MarkupFonts& operator=(const MarkupFonts&) = delete;

    HFONT normal() const { return m_fonts[0]; }
    // The slot's font, derived on first use; a style font that cannot be made falls back to the
    // library's shared font of that style, and that to the normal font. Never null when the normal
    // font is not.
    HFONT font(int slot);
    // The advance of character c (of a surrogate pair, when low is not 0) in the slot's font, measured
    // on dc once and cached.
    int width(HDC dc, int slot, char16_t c, char16_t low = 0);
    // The slot font's character height.
    int height(HDC dc, int slot);

  private:
    std::array<HFONT, kFontSlots> m_fonts{};
    std::array<bool, kFontSlots> m_owned{};
    std::array<std::unordered_map<uint32_t, int>, kFontSlots> m_widths;
    std::array<int, kFontSlots> m_heights{};
};

// Releases the library's shared style fonts (at unload; they are made again when next needed).
void releaseSharedMarkupFonts();

}  // namespace today
