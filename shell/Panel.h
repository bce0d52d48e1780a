// Panel: what the main window needs of each panel it shows in the entry form's place (the field
// panel, the four selection lists, the date picker, the calculator) and of the settings page: its
// window, the strip below it, its part in an entry (set from the draft, take its choice on OK) and
// the keys it handles. The main window routes to the current panel and keeps no state of its own
// about any of them.
#pragma once

#include <string>

#include "AbcSettings.h"
#include "EntryDraft.h"
#include "platform/windows.h"

namespace shell {

// Which panel of the entry page is shown (-1 before the first switch and while the settings page is).
enum class EntryMode : int {
    None = -1,
    Form = 0,
    Payees = 1,
    Accounts = 2,
    Categories = 3,
    Projects = 4,
    Date = 5,
    Calculator = 6,
};
inline constexpr int kEntryModeCount = 7;
inline constexpr int modeIndex(EntryMode mode) {
    return static_cast<int>(mode);
}

// The button strips below a panel; kStripNone for a panel without one.
enum Strip : int { kStripForm, kStripConfirm, kStripConfirmOrCreate, kStripCount, kStripNone = kStripCount };

class Panel {
  public:
    virtual ~Panel() = default;

    virtual HWND window() const = 0;
    virtual Strip strip() const = 0;
    // Shows or hides the panel. A shown panel starts afresh (a list clears its typed filter) and
    // takes the focus when it handles device keys.
    virtual void setShown(bool shown) = 0;

    // Sets the panel to the draft's value before it is shown (a list selects the draft's entry).
    // Panels that do not edit the draft keep this.
    virtual void loadFrom(const EntryDraft& /*draft*/) {}
    // OK: takes the panel's choice into the draft. False when there was nothing to take (a list
    // without a current entry), and for panels that do not edit the draft.
    virtual bool takeInto(EntryDraft& /*draft*/) { return false; }

    // A key of the on-screen keypad (0-9 digits, 10 backspace, 11 clear, 12 decimal point) and a
    // character typed on the device, while the panel is shown. Ignored unless the panel uses them.
    virtual void keypadKey(WPARAM /*code*/) {}
    virtual void typedCharacter(WCHAR /*character*/) {}
    // The labels of the keypad's digit keys while the panel is shown: empty unless it filters by
    // letters.
    virtual KeyLabels keypadLabels() const { return {}; }
    // Data changed elsewhere: records the panel loaded from the store are read again when it is next
    // filled.
    virtual void discardRecords() {}
};

}  // namespace shell
