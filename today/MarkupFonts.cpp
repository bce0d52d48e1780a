// Style fonts derived from a normal font, the library's shared fall-backs, and the measuring caches.
#include "MarkupFonts.h"

#include "Markup.h"
#include "platform/windows.h"

namespace today {

namespace {

constexpr LONG kBoldWeight = 700;

// The style each slot applies to a LOGFONT.
void applyStyle(LOGFONTW& font, int slot) {
    switch (slot) {
        case 1:
            font.lfWeight = kBoldWeight;
            break;
        case 2:
            font.lfItalic = 1;
            break;
        case 3:
            font.lfWeight = kBoldWeight;
            font.lfItalic = 1;
            break;
        case 4:
            font.lfUnderline = 1;
            break;
        case 5:
            font.lfStrikeOut = 1;
            break;
        default:
            break;
    }
}

// The library's shared style fonts, made from the system font when first needed.
std::array<HFONT, kFontSlots>& sharedFonts() {
    static std::array<HFONT, kFontSlots> fonts{};
    return fonts;
}

HFONT sharedStyleFont(int slot) {
    HFONT& font = sharedFonts()[static_cast<size_t>(slot)];
    if (font == nullptr) {
        LOGFONTW description{};
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof description, &description);
        applyStyle(description, slot);
        font = CreateFontIndirectW(&description);
    }
    return font;
}

}  // namespace

int fontSlotOf(uint16_t attributes) {
    switch (attributes & ~kMarkupRule) {
        case kMarkupBold:
            return 1;
        case kMarkupItalic:
            return 2;
        case kMarkupBold | kMarkupItalic:
            return 3;
        case kMarkupUnderline:
            return 4;
        case kMarkupStrikeOut:
            return 5;
        default:
            return 0;
    }
}

MarkupFonts::MarkupFonts(HFONT normal) {
    m_fonts[0] = normal;
}

MarkupFonts::~MarkupFonts() {
    for (int slot = 1; slot < kFontSlots; ++slot)
        if (m_owned[static_cast<size_t>(slot)]) DeleteObject(m_fonts[static_cast<size_t>(slot)]);
}

HFONT MarkupFonts::font(int slot) {
    if (slot <= 0 || slot >= kFontSlots) return m_fonts[0];
    HFONT& font = m_fonts[static_cast<size_t>(slot)];
    if (font != nullptr) return font;
    LOGFONTW description{};
    if (m_fonts[0] != nullptr && GetObjectW(m_fonts[0], sizeof description, &description) != 0) {
        applyStyle(description, slot);
        font = CreateFontIndirectW(&description);
        m_owned[static_cast<size_t>(slot)] = font != nullptr;
    }
    if (font == nullptr) font = sharedStyleFont(slot);
    if (font == nullptr) font = m_fonts[0];
    return font;
}

int MarkupFonts::width(HDC dc, int slot, char16_t c, char16_t low) {
    const uint32_t key = (static_cast<uint32_t>(low) << 16) | c;
    auto& cache = m_widths[static_cast<size_t>(slot)];
    auto found = cache.find(key);
    if (found != cache.end()) return found->second;
    const char16_t text[2] = {c, low};
    SIZE size{};
    HGDIOBJ old = SelectObject(dc, font(slot));
    GetTextExtentPoint32W(dc, text, low != 0 ? 2 : 1, &size);
    SelectObject(dc, old);
    cache.emplace(key, static_cast<int>(size.cx));
    return static_cast<int>(size.cx);
}

int MarkupFonts::height(HDC dc, int slot) {
    int& height = m_heights[static_cast<size_t>(slot)];
    if (height == 0) {
        TEXTMETRICW metrics{};
        HGDIOBJ old = SelectObject(dc, font(slot));
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        height = static_cast<int>(metrics.tmHeight);
    }
    return height;
}

void releaseSharedMarkupFonts() {
    for (HFONT& font : sharedFonts()) {
        if (font != nullptr) DeleteObject(font);
        font = nullptr;
    }
}

}  // namespace today
