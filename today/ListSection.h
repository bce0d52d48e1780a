// One section of the details list (accounts, account groups, budgets or scheduled transactions): its
// entries, each a mark-up block stacked under the one before, laid out for the list's width.
#pragma once

#include <string>
#include <vector>

#include "MarkupLayout.h"

namespace today {

// The sections, in the order the list shows them; the value is the kind Brimwell is asked to show.
enum class SectionKind { Account = 0, Group = 1, Budget = 2, Scheduled = 3 };
inline constexpr int kSectionCount = 4;

// What an entry shows: its block, and the short alert a tap shows instead of opening the entry in
// Brimwell (empty when it offers none).
struct ListEntry {
    std::u16string markup;
    std::u16string alert;
};

class ListSection {
  public:
    ListSection(SectionKind kind, const std::vector<ListEntry>& entries);

    SectionKind kind() const { return m_kind; }
    int entryCount() const { return static_cast<int>(m_entries.size()); }
    const ListEntry& entry(int index) const { return m_entries[static_cast<size_t>(index)].source; }

    // Lays the entries out for a list width (text inset by margin on both sides, padding above and
    // below each entry) and returns the section's height; 0 for a section without entries.
    int layout(HDC dc, MarkupFonts& fonts, int width, int margin, int padding);
    int height() const { return m_height; }
    // The entry at y pixels below the section's top; -1 when none.
    int entryAt(int y) const;
    // An entry's top (below the section's) and height.
    int entryTop(int index) const;
    int entryHeight(int index) const;
    // Draws the entries whose rows meet clip, the section's top at top; pressed (-1: none) is
    // highlighted.
    void draw(HDC dc, MarkupFonts& fonts, int top, int width, int pressed, const RECT& clip);

  private:
    struct Entry {
        ListEntry source;
        MarkupLayout block;
        int top = 0;
        int height = 0;
    };

    SectionKind m_kind;
    std::vector<Entry> m_entries;
    int m_height = 0;
    int m_margin = 0;
    int m_padding = 0;
};

}  // namespace today
