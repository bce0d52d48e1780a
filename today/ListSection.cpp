// A section of the details list.
#include "ListSection.h"

#include "platform/windows.h"

namespace today {

namespace {

constexpr COLORREF kPressedEntry = RGB(214, 226, 246);
// Each line of an entry is cut with dots when it is wider than the list; the pop-up shows it whole.
constexpr UINT kEntryFlags = kLayoutEndEllipsis;

}  // namespace

ListSection::ListSection(SectionKind kind, const std::vector<ListEntry>& entries) : m_kind(kind) {
    m_entries.reserve(entries.size());
    for (const ListEntry& entry : entries)
        m_entries.push_back(Entry{entry, MarkupLayout(parseMarkup(entry.markup)), 0, 0});
}

int ListSection::layout(HDC dc, MarkupFonts& fonts, int width, int margin, int padding) {
    m_margin = margin;
    m_padding = padding;
    m_height = 0;
    for (Entry& entry : m_entries) {
        RECT rect{0, 0, width - 2 * margin, 0};
        entry.top = m_height;
        entry.height = entry.block.layout(dc, fonts, &rect, kEntryFlags | kLayoutMeasure) + 2 * padding;
        m_height += entry.height;
    }
    return m_height;
}

int ListSection::entryAt(int y) const {
    for (int i = 0; i < entryCount(); ++i) {
        const Entry& entry = m_entries[static_cast<size_t>(i)];
        if (y >= entry.top && y < entry.top + entry.height) return i;
    }
    return -1;
}

int ListSection::entryTop(int index) const {
    return index >= 0 && index < entryCount() ? m_entries[static_cast<size_t>(index)].top : 0;
}

int ListSection::entryHeight(int index) const {
    return index >= 0 && index < entryCount() ? m_entries[static_cast<size_t>(index)].height : 0;
}

void ListSection::draw(HDC dc, MarkupFonts& fonts, int top, int width, int pressed, const RECT& clip) {
    for (int i = 0; i < entryCount(); ++i) {
        Entry& entry = m_entries[static_cast<size_t>(i)];
        const RECT row{0, top + entry.top, width, top + entry.top + entry.height};
        if (row.bottom <= clip.top || row.top >= clip.bottom) continue;
        if (i == pressed) {
            HBRUSH brush = CreateSolidBrush(kPressedEntry);
            FillRect(dc, &row, brush);
            DeleteObject(brush);
        }
        RECT text{m_margin, row.top + m_padding, width - m_margin, row.bottom - m_padding};
        entry.block.layout(dc, fonts, &text, kEntryFlags);
    }
}

}  // namespace today
