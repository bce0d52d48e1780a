// The details list "GroupList": the sections of accounts, account groups, budgets and scheduled
// transactions one below the other on white, scrolled vertically. A long press on an entry shows its
// whole text in the pop-up; a tap shows its alert, or asks the owner to open it in Brimwell.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "ListSection.h"
#include "ScreenScale.h"
#include "WindowObject.h"

namespace today {

inline constexpr const WCHAR* kGroupListName = u"GroupList";

using SectionEntries = std::array<std::vector<ListEntry>, kSectionCount>;

class GroupList : public WindowObject {
  public:
    explicit GroupList(const SectionEntries& sections);
    ~GroupList() override;

    // Creates the list as a child of owner in rect (owner's client coordinates).
    HWND create(HWND owner, const RECT& rect);

    // The pixels of content above the view, and the most there can be.
    int scrollPosition() const { return m_position; }
    int maxScrollPosition() const;
    int contentHeight() const { return m_contentHeight; }
    // Scrolls to a position (clamped) and repaints when it moved.
    void scrollTo(int position);

    // The section and entry under a point of the client area; section -1 when none.
    struct EntryRef {
        int section = -1;
        int entry = -1;
        bool operator==(const EntryRef&) const = default;
    };
    EntryRef entryAt(POINT client) const;
    // An entry's rectangle in client coordinates at the current scroll position.
    RECT entryRect(EntryRef ref) const;
    const ListSection& section(int index) const { return m_sections[static_cast<size_t>(index)]; }
    // The entry held by the stylus (section -1 when none).
    EntryRef pressed() const { return m_press; }

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void relayout();
    int sectionTop(int index) const;
    void paint();
    void scrolled(WORD code, int position);
    void stylusDown(POINT point);
    void stylusMove(POINT point);
    void stylusUp(POINT point);
    void longPress();
    void cancelPress();
    void tap(EntryRef ref, POINT point);
    void showPopup(const std::u16string& markup, POINT client);
    void invalidateEntry(EntryRef ref);

    std::vector<ListSection> m_sections;
    ScreenScale m_scale;
    HFONT m_font = nullptr;
    std::unique_ptr<MarkupFonts> m_fonts;
    int m_contentHeight = 0;
    int m_position = 0;
    int m_clientHeight = 0;
    EntryRef m_press;
    POINT m_pressPoint{};
};

}  // namespace today
