// DrawTextW: text laid out in a rectangle with alignment, line and word breaks, tab expansion,
// mnemonic prefixes and end ellipses; measuring (DT_CALCRECT) uses the same layout as drawing.
#include <algorithm>
#include <string>
#include <vector>

#include "TextRender.h"
#include "platform/handles.h"
#include "platform/text.h"
#include "platform/winerror.h"

using namespace platform;
using namespace platform::gdi;

namespace {

constexpr int kTabCharacters = 8;
constexpr char16_t kEllipsis[] = u"...";
constexpr int kEllipsisLength = 3;

struct Line {
    int start = 0;
    int count = 0;
    int width = 0;
    bool ellipsis = false;
};

class Layout {
  public:
    Layout(FontInstance& font, UINT format, const char16_t* text, int count, int maxWidth)
        : m_font(font), m_format(format), m_maxWidth(maxWidth) {
        m_tabWidth = kTabCharacters * font.metrics().tmAveCharWidth;
        takeText(text, count);
        buildLines();
    }

    const std::vector<Line>& lines() const { return m_lines; }
    const std::u16string& text() const { return m_text; }
    int mnemonic() const { return m_mnemonic; }
    int widest() const {
        int w = 0;
        for (const Line& l : m_lines)
            w = std::max(w, l.width);
        return w;
    }

    // Width of text[start, start + count) laid from the line's start (tabs reach the next stop).
    int width(int start, int count) const {
        if (!(m_format & DT_EXPANDTABS)) return textWidth(m_font, m_text.data() + start, count);
        int x = 0, runStart = start;
        for (int i = start; i <= start + count; ++i) {
            if (i < start + count && m_text[i] != u'\t') continue;
            x += textWidth(m_font, m_text.data() + runStart, i - runStart);
            if (i < start + count) x = (x / m_tabWidth + 1) * m_tabWidth;
            runStart = i + 1;
        }
        return x;
    }

    // Draws one line at (x, top), run by run between tabs.
    void drawLine(DeviceContext& dc, const Line& line, int x, int top, const RECT* clip, bool opaque) const {
        int pen = 0, runStart = line.start;
        int end = line.start + line.count;
        bool tabs = (m_format & DT_EXPANDTABS) != 0;
        for (int i = line.start; i <= end; ++i) {
            if (i < end && !(tabs && m_text[i] == u'\t')) continue;
            pen += drawRun(dc, m_font, x + pen, top, m_text.data() + runStart, i - runStart, nullptr, clip,
                           opaque);
            if (i < end) pen = (pen / m_tabWidth + 1) * m_tabWidth;
            runStart = i + 1;
        }
        std::u16string shown =
            m_text.substr(static_cast<size_t>(line.start), static_cast<size_t>(line.count));
        if (line.ellipsis) {
            pen += drawRun(dc, m_font, x + pen, top, kEllipsis, kEllipsisLength, nullptr, clip, opaque);
            shown += kEllipsis;
        }
        if (m_mnemonic >= line.start && m_mnemonic < end) {
            underlineChars(dc, m_font, x + width(line.start, m_mnemonic - line.start), top, m_text.data(),
                           m_mnemonic, 1, clip);
        }
        recordRun(dc, x, top, pen, m_font.metrics().tmHeight, clip, std::move(shown));
    }

  private:
    // Copies the text, resolving "&" prefixes unless DT_NOPREFIX: "&&" is "&", "&x" underlines x.
    void takeText(const char16_t* text, int count) {
        if (m_format & DT_NOPREFIX) {
            m_text.assign(text, static_cast<size_t>(count));
            return;
        }
        for (int i = 0; i < count; ++i) {
            if (text[i] == u'&' && i + 1 < count) {
                ++i;
                if (text[i] != u'&') m_mnemonic = static_cast<int>(m_text.size());
            } else if (text[i] == u'&') {
                continue;
            }
            m_text.push_back(text[i]);
        }
    }

    void buildLines() {
        int n = static_cast<int>(m_text.size());
        if (m_format & DT_SINGLELINE) {
            addLine(0, n);
            return;
        }
        int start = 0;
        for (int i = 0; i <= n; ++i) {
            if (i < n && m_text[i] != u'\r' && m_text[i] != u'\n') continue;
            addParagraph(start, i);
            if (i + 1 < n && m_text[i] != m_text[i + 1] && (m_text[i + 1] == u'\r' || m_text[i + 1] == u'\n'))
                ++i;
            start = i + 1;
        }
    }

    // Breaks text[start, end) into lines at blanks (with DT_WORDBREAK); a word longer than the width
    // stays whole on its own line.
    void addParagraph(int start, int end) {
        if (!(m_format & DT_WORDBREAK)) {
            addLine(start, end - start);
            return;
        }
        int lineStart = start, lineEnd = -1;  // lineEnd: end of the last word placed on the line
        int i = start;
        while (i < end) {
            int wordStart = i;
            while (wordStart < end && m_text[wordStart] == u' ')
                ++wordStart;
            if (wordStart == end) break;
            int wordEnd = wordStart;
            while (wordEnd < end && m_text[wordEnd] != u' ')
                ++wordEnd;
            if (lineEnd >= 0 && width(lineStart, wordEnd - lineStart) > m_maxWidth) {
                addLine(lineStart, lineEnd - lineStart);
                lineStart = wordStart;
            }
            lineEnd = wordEnd;
            i = wordEnd;
        }
        addLine(lineStart, lineEnd < 0 ? 0 : lineEnd - lineStart);
    }

    void addLine(int start, int count) {
        Line line{start, count, width(start, count), false};
        if ((m_format & DT_END_ELLIPSIS) && line.width > m_maxWidth) {
            int dots = textWidth(m_font, kEllipsis, kEllipsisLength);
            while (line.count > 0 && width(line.start, line.count) + dots > m_maxWidth)
                --line.count;
            line.width = width(line.start, line.count) + dots;
            line.ellipsis = true;
        }
        m_lines.push_back(line);
    }

    FontInstance& m_font;
    UINT m_format;
    int m_maxWidth;
    int m_tabWidth = 1;
    std::u16string m_text;
    int m_mnemonic = -1;
    std::vector<Line> m_lines;
};

}  // namespace

int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    DeviceContext* dc = dcOf(hdc);
    if (dc == nullptr) return 0;
    if (rect == nullptr || (text == nullptr && count != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (count < 0) count = static_cast<int>(wcslen(text));
    std::lock_guard guard(fontLock());
    FontInstance* font = fontOf(*dc);
    if (font == nullptr) return 0;
    const TEXTMETRICW& tm = font->metrics();
    Layout layout(*font, format, text, count, std::max(0, static_cast<int>(rect->right - rect->left)));
    int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    int total = lineHeight * static_cast<int>(layout.lines().size());
    if (format & DT_CALCRECT) {
        rect->right = rect->left + layout.widest();
        rect->bottom = rect->top + total;
        return total;
    }
    int top = rect->top;
    bool single = (format & DT_SINGLELINE) != 0;
    if (single && (format & DT_VCENTER))
        top = (rect->top + rect->bottom - lineHeight) / 2;
    else if (single && (format & DT_BOTTOM))
        top = rect->bottom - lineHeight;
    const RECT* clip = (format & DT_NOCLIP) ? nullptr : rect;
    bool opaque = dc->state().bkMode == OPAQUE;
    int y = top;
    for (const Line& line : layout.lines()) {
        int x = rect->left;
        if (format & DT_CENTER)
            x = (rect->left + rect->right - line.width) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - line.width;
        layout.drawLine(*dc, line, x, y, clip, opaque);
        y += lineHeight;
    }
    return single && (format & (DT_VCENTER | DT_BOTTOM)) ? top + total - rect->top : total;
}
