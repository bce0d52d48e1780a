// MainWindow: the program's one full-screen window. It owns the entry draft, the header bar, the
// three button strips, the keypad, the panels of the entry page (the field panel, the four selection
// lists, the date picker, the calculator), the settings page and the button feedback; it switches
// pages and entry modes, routes commands, keys and confirmations to the panel shown, lays everything
// out for the screen and carries out the orderly exit.
#pragma once

#include <array>
#include <string>

#include "AbcSettings.h"
#include "ButtonFeedback.h"
#include "ButtonStrip.h"
#include "CalculatorPanel.h"
#include "DatePickerPanel.h"
#include "EntryDraft.h"
#include "FieldPanel.h"
#include "HeaderBar.h"
#include "Keyboard.h"
#include "Panel.h"
#include "SelectionList.h"
#include "SettingsPage.h"
#include "WindowObject.h"

namespace shell {

enum Orientation : int { kPortrait = 0, kLandscape = 1, kSquare = 2 };

// The click debounce: the pause before the first pending stylus message is dropped.
inline constexpr DWORD kClickDebounceMs = 150;

class MainWindow : public WindowObject {
  public:
    // Reads the regional settings snapshot once; resources is the module whose resources are loaded.
    explicit MainWindow(HINSTANCE resources);
    // The exit sequence: closes the store (when it was opened) and the notification block, posts
    // WM_USER+105 to the finance manager's window when data changed during the run, then destroys
    // the window and the controls.
    ~MainWindow() override;

    // Opens the finance store (on failure: closes it, shows message 21 and returns false), creates
    // the notification block, the window and every control, and opens on the payee list, filled.
    // False when anything cannot be created.
    bool create();

    // Switches to page 106 or 123; nothing happens for the current page.
    void switchPage(UINT page);
    // Shows mode's panel and strip (EntryMode::None hides them all), gives the keypad the panel's
    // letter labels and redoes the layout.
    void switchEntryMode(EntryMode mode);
    // Places every child for the current page, mode, orientation and alignment.
    void layout();
    // Enters full screen: hides the shell's bars, shows the header bar, covers the screen. Only
    // once the window and the field panel exist.
    void enterFullScreen();

    UINT page() const { return m_page; }
    UINT previousPage() const { return m_previousPage; }
    EntryMode entryMode() const { return m_mode; }
    int orientation() const { return m_orientation; }
    bool fullScreen() const { return m_fullScreen; }
    bool dataChanged() const { return m_dataChanged; }
    bool vibrationOn() const { return m_feedback.on(); }
    void setDataChanged() { m_dataChanged = true; }
    const EntryDraft& draft() const { return m_draft; }
    const AbcSettings& abcSettings() const { return m_abc; }
    HeaderBar& headerBar() { return m_header; }
    FieldPanel& fieldPanel() { return m_fields; }
    ButtonStrip& strip(Strip which) { return m_strips[which]; }
    // The panel shown in entry mode (not None).
    Panel& panel(EntryMode mode) { return *m_panels[static_cast<size_t>(modeIndex(mode))]; }
    SelectionList& list(ListKind kind);
    FingerList& payeeList() { return m_payees.control(); }
    DatePickerPanel& datePicker() { return m_datePicker; }
    CalculatorPanel& calculator() { return m_calculator; }
    Keyboard& keyboard() { return m_keyboard; }
    // The settings page; its window exists once the page was first shown.
    SettingsPage& settingsPage() { return m_settings; }
    Vibrator& vibrator() { return m_feedback.vibrator(); }

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    bool createWindow();
    bool createControls();
    bool createPanels();
    Panel* currentPanel() const;
    void onCommand(UINT id, HWND from);
    void onFieldCommand(UINT id);
    void onStripCommand(UINT id, HWND from);
    void onSettingsCommand(UINT id);
    void confirmChoice();
    // The create dialog of the list shown (payees, categories, projects); the item it settles on
    // becomes the list's current entry.
    void createItem();
    void onPanelConfirmed();
    // Saves the draft as a new transaction with the wait cursor showing: on success the data are
    // marked changed and the finance manager is told a transaction was added; on failure the message
    // of the failure shows and the draft stays as it was. True when saved.
    bool saveDraft();
    void showSaveFailure(dove::StoreStatus status);
    void saveAndNew();
    void onSettingChange(WPARAM code);
    void showEntryPage();
    void showSettingsPage();
    void rebuildAlphabetKeys();
    void applyKeyboardVisibility();
    void applyButtonAlignment();
    int computeOrientation() const;
    void clickDebounce();
    void exitProgram();
    void layoutKeyboard(const RECT& client, int top);
    int stripHeight() const;

    HINSTANCE m_resources;
    UINT m_page = 0;
    UINT m_previousPage = 106;
    int m_orientation = kPortrait;
    bool m_fullScreen = false;
    EntryMode m_mode = EntryMode::None;
    bool m_storeOpened = false;
    bool m_blockInUse = false;
    bool m_dataChanged = false;
    AbcSettings m_abc;
    EntryDraft m_draft;
    ButtonFeedback m_feedback;
    HeaderBar m_header;
    FieldPanel m_fields;
    std::array<ButtonStrip, kStripCount> m_strips;
    DatePickerPanel m_datePicker;
    CalculatorPanel m_calculator;
    Keyboard m_keyboard;
    SelectionList m_accounts{ListKind::Accounts, m_abc};
    SelectionList m_categories{ListKind::Categories, m_abc};
    SelectionList m_projects{ListKind::Projects, m_abc};
    SelectionList m_payees{ListKind::Payees, m_abc};
    SettingsPage m_settings{m_feedback};
    // The panel of each entry mode, indexed by mode.
    std::array<Panel*, kEntryModeCount> m_panels{};
};

}  // namespace shell
