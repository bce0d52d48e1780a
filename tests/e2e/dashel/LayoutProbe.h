// The geometry the program should show, taken in-process from the shell's own main window on a
// headless screen of the same profile: where each part lies and which parts are visible, for one
// page and entry mode, so that the end-to-end tests know where to tap and what to look for.
#pragma once

#include <array>
#include <string>

#include "MainWindow.h"
#include "platform/windows.h"

namespace dashele2e {

struct ScreenProfile {
    int width;
    int height;
    int dpi;
    std::string name() const;  // "240x320@96"
};

struct PartRect {
    RECT rect{0, 0, 0, 0};  // screen coordinates
    bool visible = false;
};

// One view of the main window: its parts in screen coordinates.
struct View {
    PartRect header;
    PartRect fields;
    std::array<PartRect, shell::kStripCount> strips;
    std::array<PartRect, shell::kEntryModeCount> panels;  // each entry mode's panel (fields at Form)
    PartRect keyboard;
    PartRect settings;
    POINT title{};                     // inside the header's "Настройки" title
    std::array<POINT, 6> fieldTaps{};  // payee, date, amount, account, category, project
    std::array<std::array<POINT, 3>, shell::kStripCount> buttons{};  // each strip's buttons' centres
    std::array<POINT, 2> pageButtons{};  // the settings page's OK and Cancel, once it was built
    RECT pageButtonArea{};               // both page buttons together, in screen pixels
    PartRect payeeRows;                  // the payee list's rows (its list view)
    int payeeRowHeight = 0;              // pixels
};

// The view for a page (106 or 123) and, on page 106, an entry mode; rotations turns the screen that
// many times first; buttonAlign is written as "BtnAlign" before the window opens (-1: left unset).
// The store of the current device root is used. Fails the calling test on error.
View probeView(const ScreenProfile& profile, UINT page, shell::EntryMode mode, int rotations = 0,
               int buttonAlign = -1);

// The visible parts of a view, named for messages.
std::vector<std::pair<std::string, RECT>> visibleParts(const View& view);

}  // namespace dashele2e
