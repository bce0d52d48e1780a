// The Today item's mark-up text (UTF-16 units): any text parses into three arrays of one length whose
// characters, written out again with tags for their looks, parse the same; and the parsed block, laid
// out with the real fonts on a memory DC in a rectangle and with flags taken from the input's first
// unit, keeps every character on exactly one line and in exactly one run, as measuring and drawing see it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "Markup.h"
#include "MarkupLayout.h"
#include "platform/windows.h"

namespace {

using today::MarkupText;

constexpr uint16_t kStyles[] = {today::kMarkupBold, today::kMarkupItalic, today::kMarkupUnderline,
                                today::kMarkupStrikeOut};
constexpr char16_t kStyleLetters[] = {u'b', u'i', u'u', u's'};

// The tags that take the looks from one character's to the next one's.
void appendLookChange(std::u16string& out, uint16_t& attributes, uint32_t& colour, uint16_t wantedAttributes,
                      uint32_t wantedColour) {
    if (wantedColour != colour) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%02X%02X%02X", wantedColour & 0xFF, (wantedColour >> 8) & 0xFF,
                      (wantedColour >> 16) & 0xFF);
        out += u"<#";
        for (int i = 0; i < 6; ++i)
            out += static_cast<char16_t>(digits[i]);
        out += u">";
        colour = wantedColour;
    }
    for (size_t s = 0; s < std::size(kStyles); ++s) {
        if ((attributes & kStyles[s]) == (wantedAttributes & kStyles[s])) continue;
        out += (wantedAttributes & kStyles[s]) ? u"<" : u"</";
        out += kStyleLetters[s];
        out += u">";
    }
    attributes = static_cast<uint16_t>(wantedAttributes & ~today::kMarkupRule);
}

// The parsed block written as mark-up: tags wherever the looks change, "<l>" for a rule, and an
// ordinary "<" always followed by a tag that changes nothing, so that it never starts one.
std::u16string written(const MarkupText& text) {
    std::u16string out;
    uint16_t attributes = 0;
    uint32_t colour = today::kMarkupBlack;
    for (size_t i = 0; i < text.size(); ++i) {
        appendLookChange(out, attributes, colour, text.attributes[i], text.colours[i]);
        if (text.attributes[i] & today::kMarkupRule) {
            out += u"<l>";
            continue;
        }
        out += text.characters[i];
        if (text.characters[i] == u'<') out += (attributes & today::kMarkupBold) ? u"<b>" : u"</b>";
    }
    return out;
}

void checkParse(const std::u16string& input) {
    const MarkupText parsed = today::parseMarkup(input);
    fuzz::check(parsed.attributes.size() == parsed.size() && parsed.colours.size() == parsed.size(),
                "three arrays of one length");
    const std::u16string text = input.substr(0, input.find(u'\0'));
    fuzz::check(parsed.size() <= text.size(), "tags only take characters away");
    // Every character that is not a rule comes from the text, in order.
    size_t from = 0;
    for (size_t i = 0; i < parsed.size(); ++i) {
        const bool rule = (parsed.attributes[i] & today::kMarkupRule) != 0;
        fuzz::check(!rule || parsed.characters[i] == u'\n', "a rule is a line feed");
        fuzz::check(parsed.attributes[i] <= 0x1F && (parsed.colours[i] >> 24) == 0, "known bits only");
        if (rule) continue;
        from = text.find(parsed.characters[i], from);
        fuzz::check(from != std::u16string::npos, "no character made up");
        ++from;
    }
    if (text.find(u'<') == std::u16string::npos)
        fuzz::check(parsed.characters == text &&
                        std::all_of(parsed.attributes.begin(), parsed.attributes.end(),
                                    [](uint16_t a) { return a == 0; }) &&
                        std::all_of(parsed.colours.begin(), parsed.colours.end(),
                                    [](uint32_t c) { return c == today::kMarkupBlack; }),
                    "a text without tags is itself, plain and black");
    fuzz::check(today::parseMarkup(written(parsed)) == parsed,
                "written out with its tags, it parses the same");
}

// Whether characters [from, to) hold a blank between two characters that are not blanks.
bool hasInnerBlank(const std::u16string& characters, int from, int to) {
    bool word = false, blankAfterWord = false;
    for (int i = from; i < to; ++i) {
        const bool blank = characters[static_cast<size_t>(i)] == u' ';
        if (!blank && blankAfterWord) return true;
        if (blank && word) blankAfterWord = true;
        word = word || !blank;
    }
    return false;
}

// The layout's lines and runs for a rectangle room pixels wide.
void checkLayout(HDC dc, today::MarkupFonts& fonts, const std::u16string& text, int room, UINT flags) {
    today::MarkupLayout block(today::parseMarkup(text));
    block.measure(dc, fonts);
    const MarkupText& chars = block.text();
    const std::vector<today::MarkupLine> lines = block.breakLines(room, flags);
    int next = 0, widest = 0;
    for (const today::MarkupLine& line : lines) {
        fuzz::check(line.start == next && line.count > 0 && line.shown >= 0 && line.shown <= line.count,
                    "the lines take every character once, in order");
        next += line.count;
        int width = 0;
        for (int i = line.start; i < line.start + line.shown; ++i)
            width += block.widths()[static_cast<size_t>(i)];
        fuzz::check(width == line.width, "a line is as wide as its shown characters");
        // Lines are broken at blanks only: one too wide holds a single word (with, in a rectangle
        // narrower than a blank, nothing but blanks around it).
        if ((flags & today::kLayoutWordBreak) && !(flags & today::kLayoutSingleLine) && line.width > room)
            fuzz::check(!hasInnerBlank(chars.characters, line.start, line.start + line.shown),
                        "a line wider than the rectangle is one word");
        widest = std::max(widest, line.width);
    }
    fuzz::check(next == static_cast<int>(chars.size()), "no character is left off the lines");

    const RECT rect{3, 5, 3 + room, 5 + 200};
    const RECT everywhere{-1000000, -1000000, 1000000, 100000000};
    const today::MarkupPlacement placement = block.place(lines, rect, everywhere, flags);
    size_t run = 0;
    for (const today::MarkupLine& line : lines) {
        if (line.rule) continue;
        int at = line.start;
        const int end = line.start + line.shown;
        for (;
             run < placement.runs.size() && placement.runs[run].dots == 0 && placement.runs[run].start < end;
             ++run) {
            const today::MarkupRun& r = placement.runs[run];
            while (at < r.start && (chars.characters[static_cast<size_t>(at)] == u'\n' ||
                                    chars.characters[static_cast<size_t>(at)] == u'\r'))
                ++at;
            fuzz::check(r.start == at && r.count >= 1 && r.count <= today::kMaxRunLength,
                        "runs of at most 256 characters follow each other");
            at += r.count;
        }
        const bool cut = run < placement.runs.size() && placement.runs[run].dots > 0;
        if (cut) ++run;
        if (!(flags & today::kLayoutEndEllipsis)) {
            while (at < end && (chars.characters[static_cast<size_t>(at)] == u'\n' ||
                                chars.characters[static_cast<size_t>(at)] == u'\r'))
                ++at;
            fuzz::check(!cut && at == end, "every shown character is in one run");
        }
    }
    fuzz::check(run == placement.runs.size(), "no run outside the lines");

    RECT measured = rect;
    const int height = block.layout(dc, fonts, &measured, flags | today::kLayoutMeasure);
    fuzz::check(measured.right - measured.left == widest && measured.bottom - measured.top == height,
                "measuring gives the widest line and the lines' height");
    RECT drawn = rect;
    fuzz::check(block.layout(dc, fonts, &drawn, flags) == height, "drawing takes the height measured");
}

constexpr UINT kFlags[] = {today::kLayoutCentre,      today::kLayoutRight,     today::kLayoutVCentre,
                           today::kLayoutBottom,      today::kLayoutWordBreak, today::kLayoutSingleLine,
                           today::kLayoutEndEllipsis, today::kLayoutNoClip};

struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;
    today::MarkupFonts* fonts = nullptr;
};

Canvas& canvas() {
    static Canvas c = [] {
        Canvas made;
        made.dc = CreateCompatibleDC(nullptr);
        made.bitmap = CreateCompatibleBitmap(made.dc, 600, 300);
        SelectObject(made.dc, made.bitmap);
        LOGFONTW description{};
        description.lfHeight = -12;
        description.lfWeight = FW_NORMAL;
        const std::u16string face = u"Tahoma";
        std::copy(face.begin(), face.end(), description.lfFaceName);
        made.font = CreateFontIndirectW(&description);
        made.fonts = new today::MarkupFonts(made.font);
        return made;
    }();
    return c;
}

}  // namespace

// fontconfig keeps blocks of its loaded configuration where the leak checker cannot see them until
// the font system is shut down at exit; the leak checks libFuzzer makes between inputs would report
// them. Blocks allocated under fontconfig are not this code's to free.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("VARKEL_DISPLAY", "headless", 1);
    // The fonts are loaded and measured once before any input, so that the first input's run does not
    // carry the font system's start.
    Canvas& c = canvas();
    today::MarkupLayout warm(today::parseMarkup(u"<b>a</b><i>b</i><u>c</u><s>d</s><b><i>e"));
    RECT rect{0, 0, 100, 100};
    warm.layout(c.dc, *c.fonts, &rect, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string units = fuzz::unitsOf(data, size);
    checkParse(units);
    if (units.empty()) return 0;
    // The first unit chooses the rectangle's width (low byte, times two) and the flags (high byte).
    UINT flags = 0;
    for (size_t f = 0; f < std::size(kFlags); ++f)
        if (units[0] & (0x100u << f)) flags |= kFlags[f];
    Canvas& c = canvas();
    fuzz::check(c.dc != nullptr && c.font != nullptr, "a memory DC and the font");
    checkLayout(c.dc, *c.fonts, units.substr(1), 2 * (units[0] & 0xFF), flags);
    return 0;
}
