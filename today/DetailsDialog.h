// The details window: a full-screen dialog with the title strip, the menu bar ("Настройки",
// "Закрыть") and the list of the loaded accounts, account groups, budgets and scheduled transactions.
// It keeps its own copy of what it lists, so a reload of the item's data while it is open changes
// nothing under it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "DialogObject.h"
#include "GroupList.h"
#include "TitleStrip.h"
#include "TodayData.h"

namespace today {

// What the details list: each section's entries and, in the same order, the identifiers Brimwell
// is asked to show them by.
struct DetailEntries {
    SectionEntries sections;
    std::array<std::vector<int64_t>, kSectionCount> ids;
};
DetailEntries detailEntries(const TodayData& data);

class DetailsDialog : public DialogObject {
  public:
    explicit DetailsDialog(DetailEntries entries);
    ~DetailsDialog() override;

    // Shows the details over the screen, owned by parent, until they are closed. Returns the
    // dialog's end code, -1 when it could not be shown.
    INT_PTR run(HWND parent);

    // The details dialog running in window, or null.
    static DetailsDialog* fromWindow(HWND window);
    GroupList& list() { return m_list; }
    TitleStrip& title() { return m_title; }

    bool dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void initialize();
    void fitScreen();
    void layoutChildren();
    void showEntry(WPARAM kind, LPARAM index);

    DetailEntries m_entries;
    TitleStrip m_title;
    GroupList m_list;
};

}  // namespace today
