// The font system: faces found by name through fontconfig (with Wine's folder of Windows faces added),
// sized and rasterised by FreeType into 8-bit coverage glyphs kept in a per-instance cache.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/wingdi.h"

namespace platform::gdi {

// One rasterised glyph: its advance and its coverage map placed relative to the pen position on the
// baseline (left: pixels right of the pen; top: rows above the baseline). The advance is the
// outline's own, unhinted, rounded to whole pixels, so that text keeps close to the widths the font
// was designed with at every size and a run's width is the sum of its glyphs' advances.
struct Glyph {
    int advance = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    std::vector<uint8_t> coverage;
};

// The file fontconfig chose for a family and style, and the styles FreeType must synthesise.
struct FaceMatch {
    std::string family;
    std::string file;
    int index = 0;
    bool syntheticBold = false;
    bool syntheticItalic = false;
};

// Decorations of a font instance, in pixels relative to the baseline (positive: below).
struct LineMetrics {
    int offset = 0;
    int thickness = 1;
};

// A face at one size and style. All members require the font lock.
class FontInstance {
  public:
    ~FontInstance();
    const Glyph& glyph(char32_t c);
    bool hasGlyph(char32_t c) const;
    const TEXTMETRICW& metrics() const { return m_metrics; }
    const FaceMatch& match() const { return m_match; }
    bool underlined() const { return m_metrics.tmUnderlined != 0; }
    bool struckOut() const { return m_metrics.tmStruckOut != 0; }
    const LineMetrics& underline() const { return m_underline; }
    const LineMetrics& strikeOut() const { return m_strikeOut; }

  private:
    friend class FontLoader;
    FontInstance() = default;
    std::unique_ptr<Glyph> render(char32_t c);

    void* m_face = nullptr;  // FT_Face, kept opaque so that FreeType stays out of the other files
    FaceMatch m_match;
    TEXTMETRICW m_metrics{};
    LineMetrics m_underline;
    LineMetrics m_strikeOut;
    std::vector<std::unique_ptr<Glyph>> m_basic;  // glyphs of the first code points, by code point
    std::unordered_map<char32_t, std::unique_ptr<Glyph>> m_other;
};

// The lock that guards the whole font system; hold it while using any FontInstance.
std::mutex& fontLock();

// The instance for the description at the given screen resolution (height 0 takes the system font's
// size), shared among equal requests. Null when no scalable face is available. Requires the font lock.
std::shared_ptr<FontInstance> fontInstanceFor(const LOGFONTW& font, int dpi);

// Decodes the UTF-16 code point at text[i] (a valid surrogate pair counts as one) and advances i.
char32_t nextCodePoint(const char16_t* text, int count, int& i);

}  // namespace platform::gdi
