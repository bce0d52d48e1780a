// Font matching with fontconfig and glyph rasterisation with FreeType, with the device's LOGFONT
// height rules: a negative height is the em height, a positive one the cell height (ascent + descent).
#include "FontSystem.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/device.h"

namespace platform::gdi {
namespace {

// Wine installs its Windows-compatible faces (Tahoma among them) here; fontconfig does not index it.
constexpr const char* kWineFontFolder = "/usr/share/wine/fonts";
constexpr const char16_t* kDefaultFace = u"Tahoma";
constexpr int kDefaultPoints = 9;
constexpr char32_t kBasicGlyphs = 0x500;  // Latin and Cyrillic are looked up directly

FT_Face faceOf(void* face) {
    return static_cast<FT_Face>(face);
}

std::string lowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

}  // namespace

// Owns the FreeType library, the fontconfig configuration and the caches of matches and instances.
class FontLoader {
  public:
    FontLoader() {
        FT_Init_FreeType(&m_library);
        m_config = FcInitLoadConfigAndFonts();
        if (m_config != nullptr)
            FcConfigAppFontAddDir(m_config, reinterpret_cast<const FcChar8*>(kWineFontFolder));
    }

    std::shared_ptr<FontInstance> instanceFor(const LOGFONTW& lf, int dpi) {
        if (m_library == nullptr || m_config == nullptr) return nullptr;
        std::u16string name(lf.lfFaceName, std::find(lf.lfFaceName, lf.lfFaceName + LF_FACESIZE, u'\0'));
        if (name.empty()) name = kDefaultFace;
        int weight = lf.lfWeight == 0 ? FW_NORMAL : static_cast<int>(lf.lfWeight);
        const FaceMatch* match = matchFor(name, weight, lf.lfItalic != 0);
        if (match == nullptr) return nullptr;
        LONG height = lf.lfHeight != 0 ? lf.lfHeight : -(dpi * kDefaultPoints * 2 + 72) / 144;
        auto key = std::make_tuple(match->file, match->index, height, std::max<LONG>(0, lf.lfWidth), weight,
                                   match->syntheticBold, match->syntheticItalic, lf.lfUnderline != 0,
                                   lf.lfStrikeOut != 0, dpi, lf.lfCharSet);
        auto it = m_instances.find(key);
        if (it != m_instances.end()) return it->second;
        std::shared_ptr<FontInstance> instance(open(*match, lf, height, weight, dpi));
        if (instance) m_instances.emplace(key, instance);
        return instance;
    }

    void releaseConfig() {
        if (m_config != nullptr) FcConfigDestroy(m_config);
        m_config = nullptr;
    }

  private:
    const FaceMatch* matchFor(const std::u16string& name, int weight, bool italic) {
        auto key = std::make_tuple(lowerAscii(toUtf8(name)), weight >= FW_SEMIBOLD, italic);
        auto it = m_matches.find(key);
        if (it != m_matches.end()) return it->second.file.empty() ? nullptr : &it->second;
        FaceMatch& m = m_matches[key];
        m = findFace(std::get<0>(key), weight, italic);
        if (weight >= FW_SEMIBOLD && !m.file.empty()) m = withDrawnBold(m, std::get<0>(key), italic);
        return m.file.empty() ? nullptr : &m;
    }

    // The best scalable face for the family and style, by fontconfig's substitution and sorting.
    FaceMatch findFace(const std::string& family, int weight, bool italic) {
        FaceMatch result;
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(m_config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult status;
        FcFontSet* sorted = FcFontSort(m_config, pattern, FcFalse, nullptr, &status);
        for (int i = 0; sorted != nullptr && i < sorted->nfont; ++i) {
            FcPattern* font = sorted->fonts[i];
            FcBool scalable = FcFalse;
            FcChar8* file = nullptr;
            if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable) continue;
            if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) continue;
            FcChar8* name = nullptr;
            int index = 0, foundWeight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
            FcPatternGetString(font, FC_FAMILY, 0, &name);
            FcPatternGetInteger(font, FC_INDEX, 0, &index);
            FcPatternGetInteger(font, FC_WEIGHT, 0, &foundWeight);
            FcPatternGetInteger(font, FC_SLANT, 0, &slant);
            result.file = reinterpret_cast<const char*>(file);
            result.family = name != nullptr ? reinterpret_cast<const char*>(name) : "";
            result.index = index;
            result.syntheticBold = weight >= FW_SEMIBOLD && foundWeight < FC_WEIGHT_DEMIBOLD;
            result.syntheticItalic = italic && slant == FC_SLANT_ROMAN;
            break;
        }
        if (sorted != nullptr) FcFontSetDestroy(sorted);
        FcPatternDestroy(pattern);
        return result;
    }

    // A bold face whose glyphs have the regular face's outlines (only its advances are bold) would
    // draw regular strokes spread apart; such a family is drawn from its regular face, emboldened.
    FaceMatch withDrawnBold(FaceMatch bold, const std::string& family, bool italic) {
        if (bold.syntheticBold) return bold;
        FaceMatch regular = findFace(family, FW_NORMAL, italic);
        if (regular.file.empty() || regular.file == bold.file || regular.family != bold.family) return bold;
        if (!sameOutlines(bold, regular)) return bold;
        regular.syntheticBold = true;
        return regular;
    }

    // True when a few stem-heavy glyphs have the same outline widths in both faces.
    bool sameOutlines(const FaceMatch& a, const FaceMatch& b) {
        FT_Face faces[2] = {nullptr, nullptr};
        const FaceMatch* matches[2] = {&a, &b};
        bool same = true;
        for (int i = 0; i < 2 && same; ++i)
            same = FT_New_Face(m_library, matches[i]->file.c_str(), matches[i]->index, &faces[i]) == 0;
        for (char32_t c : {U'l', U'H', U'o'}) {
            if (!same) break;
            FT_Pos widths[2] = {0, 0};
            for (int i = 0; i < 2 && same; ++i) {
                FT_UInt index = FT_Get_Char_Index(faces[i], c);
                same = index != 0 && FT_Load_Glyph(faces[i], index, FT_LOAD_NO_SCALE) == 0;
                if (same) widths[i] = faces[i]->glyph->metrics.width;
            }
            same = same && widths[0] == widths[1];
        }
        for (FT_Face face : faces)
            if (face != nullptr) FT_Done_Face(face);
        return same;
    }

    FontInstance* open(const FaceMatch& match, const LOGFONTW& lf, LONG height, int weight, int dpi);
    void fillMetrics(FontInstance& f, FT_Face face, const LOGFONTW& lf, LONG height, int weight, int dpi);

    FT_Library m_library = nullptr;
    FcConfig* m_config = nullptr;
    std::map<std::tuple<std::string, bool, bool>, FaceMatch> m_matches;
    std::map<std::tuple<std::string, int, LONG, LONG, int, bool, bool, bool, bool, int, BYTE>,
             std::shared_ptr<FontInstance>>
        m_instances;
};

FontInstance* FontLoader::open(const FaceMatch& match, const LOGFONTW& lf, LONG height, int weight, int dpi) {
    FT_Face face = nullptr;
    if (FT_New_Face(m_library, match.file.c_str(), match.index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    auto* instance = new FontInstance;
    instance->m_face = face;
    instance->m_match = match;
    instance->m_basic.resize(kBasicGlyphs);
    fillMetrics(*instance, face, lf, height, weight, dpi);
    return instance;
}

void FontLoader::fillMetrics(FontInstance& f, FT_Face face, const LOGFONTW& lf, LONG height, int weight,
                             int dpi) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    double upm = face->units_per_EM;
    double winAscent = os2 != nullptr && os2->usWinAscent != 0 ? os2->usWinAscent : face->ascender;
    double winDescent = os2 != nullptr && os2->usWinDescent != 0 ? os2->usWinDescent : -face->descender;
    double cell = std::max(1.0, winAscent + winDescent);
    TEXTMETRICW& tm = f.m_metrics;
    double em;
    if (height < 0) {
        em = -height;
        tm.tmAscent = std::lround(winAscent * em / upm);
        tm.tmDescent = std::lround(winDescent * em / upm);
    } else {
        em = height * upm / cell;
        tm.tmAscent = std::lround(winAscent * height / cell);
        tm.tmDescent = height - tm.tmAscent;
    }
    double scale = em / upm;
    double naturalAverage = (os2 != nullptr && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : upm / 2) * scale;
    double xScale = lf.lfWidth > 0 ? lf.lfWidth / std::max(1.0, naturalAverage) : 1.0;
    FT_Set_Char_Size(face, std::lround(em * xScale * 64), std::lround(em * 64), 72, 72);
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max(0L, tm.tmHeight - std::lround(em));
    double lineGap = hhea != nullptr ? hhea->Ascender - hhea->Descender + hhea->Line_Gap - cell : 0;
    tm.tmExternalLeading = std::max(0L, std::lround(lineGap * scale));
    tm.tmAveCharWidth = std::max(1L, std::lround(naturalAverage * xScale));
    tm.tmMaxCharWidth = std::max(1L, std::lround(face->max_advance_width * scale * xScale));
    if (f.m_match.syntheticBold) tm.tmAveCharWidth += 1, tm.tmMaxCharWidth += 1;
    tm.tmWeight = weight;
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = dpi;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFFFC;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = lf.lfItalic ? 1 : 0;
    tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
    tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    tm.tmPitchAndFamily = 0x07;  // variable pitch, vector, TrueType
    tm.tmCharSet = lf.lfCharSet;
    int thickness = std::max(1, static_cast<int>(std::lround(face->underline_thickness * scale)));
    int below = std::max(1, static_cast<int>(std::lround(-face->underline_position * scale)) - thickness / 2);
    below = std::min(below, std::max(0, static_cast<int>(tm.tmDescent) - thickness));
    f.m_underline = LineMetrics{below, thickness};
    double strikePos =
        os2 != nullptr && os2->yStrikeoutPosition > 0 ? os2->yStrikeoutPosition : winAscent / 3;
    double strikeSize =
        os2 != nullptr && os2->yStrikeoutSize > 0 ? os2->yStrikeoutSize : face->underline_thickness;
    int strikeThickness = std::max(1, static_cast<int>(std::lround(strikeSize * scale)));
    f.m_strikeOut = LineMetrics{-static_cast<int>(std::lround(strikePos * scale)), strikeThickness};
}

FontInstance::~FontInstance() {
    if (m_face != nullptr) FT_Done_Face(faceOf(m_face));
}

bool FontInstance::hasGlyph(char32_t c) const {
    return FT_Get_Char_Index(faceOf(m_face), c) != 0;
}

const Glyph& FontInstance::glyph(char32_t c) {
    std::unique_ptr<Glyph>& slot = c < kBasicGlyphs ? m_basic[c] : m_other[c];
    if (!slot) slot = render(c);
    return *slot;
}

std::unique_ptr<Glyph> FontInstance::render(char32_t c) {
    auto g = std::make_unique<Glyph>();
    if (c < 0x20) return g;  // control characters take no room and draw nothing
    FT_Face face = faceOf(m_face);
    FT_UInt index = FT_Get_Char_Index(face, c);
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0) return g;
    FT_GlyphSlot slot = face->glyph;
    if (m_match.syntheticItalic) FT_GlyphSlot_Oblique(slot);
    // Bold drawn from a regular face: the glyph is struck again one pixel or more to the right, as
    // the device does, which keeps accents and other separate parts as bold as the stems.
    int strength =
        m_match.syntheticBold ? std::max(1, (static_cast<int>(face->size->metrics.x_ppem) + 12) / 24) : 0;
    // The glyph's shape is hinted, its advance is not: hinted advances widen small text well past the
    // font's design widths. The unhinted advance is in 16.16 pixels.
    FT_Pos advance64 = ((slot->linearHoriAdvance + 512) >> 10) + strength * 64;
    g->advance = static_cast<int>((advance64 + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_GRAY || bm.width == 0 || bm.rows == 0) return g;
    g->left = slot->bitmap_left;
    g->top = slot->bitmap_top;
    int width = static_cast<int>(bm.width);
    g->width = width + strength;
    g->rows = static_cast<int>(bm.rows);
    g->coverage.assign(static_cast<size_t>(g->width) * static_cast<size_t>(g->rows), 0);
    for (int y = 0; y < g->rows; ++y) {
        const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        uint8_t* row = g->coverage.data() + static_cast<std::ptrdiff_t>(y) * g->width;
        for (int shift = 0; shift <= strength; ++shift)
            for (int x = 0; x < width; ++x)
                row[x + shift] = std::max(row[x + shift], src[x]);
    }
    return g;
}

std::mutex& fontLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

namespace {

// Hands the fontconfig configuration back at exit. The loader itself stays (fonts already resolved
// keep drawing during exit); only new names can no longer be resolved then.
struct ConfigRelease {
    FontLoader* loader;
    ~ConfigRelease() {
        std::lock_guard guard(fontLock());
        loader->releaseConfig();
    }
};

}  // namespace

std::shared_ptr<FontInstance> fontInstanceFor(const LOGFONTW& font, int dpi) {
    static FontLoader* loader = new FontLoader;
    static ConfigRelease release{loader};
    return loader->instanceFor(font, dpi);
}

char32_t nextCodePoint(const char16_t* text, int count, int& i) {
    char16_t c = text[i++];
    if (c >= 0xD800 && c < 0xDC00 && i < count && text[i] >= 0xDC00 && text[i] < 0xE000) {
        char32_t low = text[i++];
        return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (low - 0xDC00);
    }
    return c;
}

}  // namespace platform::gdi
