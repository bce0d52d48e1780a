// MainWindow: the program's one full-screen window. It owns the entry draft, the header bar, the
// field panel, the three button strips, the panels of the entry page, the settings page and the
// vibration worker; it switches pages and entry modes, lays everything out for the screen and
// carries out the orderly exit.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "ButtonStrip.h"
#include "EntryDraft.h"
#include "FieldPanel.h"
#include "FingerList.h"
#include "HeaderBar.h"
#include "Keyboard.h"
#include "PanelStandIn.h"
#include "Vibrator.h"
#include "WindowObject.h"

namespace shell {

enum Orientation : int { kPortrait = 0, kLandscape = 1, kSquare = 2 };

// Which panel of the entry page is shown.
enum EntryMode : int {
    kModeNone = -1,
    kModeForm = 0,
    kModePayees = 1,
    kModeAccounts = 2,
    kModeCategories = 3,
    kModeProjects = 4,
    kModeDate = 5,
    kModeCalculator = 6,
};

// The panels of the entry page, the keyboard and the settings page. The payee list and the keyboard
// are real controls; the others stand in as plain windows until they are built.
enum Panel : int {
    kPanelPayees,
    kPanelAccounts,
    kPanelCategories,
    kPanelProjects,
    kPanelDate,
    kPanelCalculator,
    kPanelKeyboard,
    kPanelSettings,
    kPanelCount
};

enum Strip : int { kStripForm, kStripConfirm, kStripConfirmOrCreate, kStripCount };

// The number of alphabet labels the shell gives the on-screen keyboard's digit keys.
inline constexpr int kAlphabetLabelCount = 10;
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
    // the notification block, the window and every control, and opens on the payee list of the
    // entry page. False when anything cannot be created.
    bool create();

    // Switches to page 106 or 123; nothing happens for the current page.
    void switchPage(UINT page);
    // Shows mode's panel and strip (kModeNone hides them all) and redoes the layout.
    void switchEntryMode(int mode);
    // Places every child for the current page, mode, orientation and alignment.
    void layout();
    // Enters full screen: hides the shell's bars, shows the header bar, covers the screen. Only
    // once the window and the field panel exist.
    void enterFullScreen();

    UINT page() const { return m_page; }
    UINT previousPage() const { return m_previousPage; }
    int entryMode() const { return m_entryMode; }
    int orientation() const { return m_orientation; }
    bool fullScreen() const { return m_fullScreen; }
    bool dataChanged() const { return m_dataChanged; }
    bool vibrationOn() const { return m_vibrationOn; }
    void setDataChanged() { m_dataChanged = true; }
    const EntryDraft& draft() const { return m_draft; }
    HeaderBar& headerBar() { return m_header; }
    FieldPanel& fieldPanel() { return m_fields; }
    ButtonStrip& strip(Strip which) { return m_strips[which]; }
    // The stand-in of a panel that is not built yet (not the payee list or the keyboard).
    PanelStandIn& panel(Panel which) { return m_panels[which]; }
    // The window of any panel, real or standing in.
    HWND panelWindow(Panel which) const;
    Keyboard& keyboard() { return m_keyboard; }
    FingerList& payeeList() { return m_payeeList; }
    const std::array<std::u16string, kAlphabetLabelCount>& alphabetLabels() const { return m_alphabetLabels; }
    // Raised by WM_USER+105: the lists and the calculator's currency list read their records again
    // from the store when they are next filled.
    unsigned listReloadGeneration() const { return m_listReloadGeneration; }
    Vibrator& vibrator() { return m_vibrator; }

    // Test hooks, until saving exists: while enabled, WM_USER+0x3F0 marks the data as changed (as a
    // successful save does), so that the exit notification can be tested. Enabled by this call or,
    // for the program started by scripts, by the environment variable DASHEL_TEST_HOOKS=1 at
    // creation; DASHEL_TEST_DATA_CHANGED=1 beside it marks the data changed from the start. Off by
    // default.
    static void setTestHooksEnabled(bool enabled);

    LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    bool createWindow();
    bool createControls();
    bool createPanels();
    void onCommand(UINT id, HWND from);
    void onFieldCommand(UINT id);
    void onStripCommand(UINT id, HWND from);
    void onPanelConfirmed();
    void onSettingChange(WPARAM code);
    void showEntryPage();
    void showSettingsPage();
    void rebuildAlphabetKeys();
    void applyKeyboardVisibility();
    int computeOrientation() const;
    void buttonPulse();
    void clickDebounce();
    void exitProgram();
    void layoutKeyboard(const RECT& client, int top);
    int stripHeight() const;
    bool createPayeeList();

    HINSTANCE m_resources;
    UINT m_page = 0;
    UINT m_previousPage = 106;
    int m_orientation = kPortrait;
    bool m_fullScreen = false;
    int m_entryMode = kModeNone;
    bool m_storeOpened = false;
    bool m_blockInUse = false;
    bool m_dataChanged = false;
    bool m_suppressVibration = false;
    bool m_vibrationOn = false;
    bool m_settingsBuilt = false;
    unsigned m_listReloadGeneration = 0;
    std::vector<std::u16string> m_typedFilter;
    std::array<std::u16string, kAlphabetLabelCount> m_alphabetLabels;
    EntryDraft m_draft;
    Vibrator m_vibrator;
    HeaderBar m_header;
    FieldPanel m_fields;
    std::array<ButtonStrip, kStripCount> m_strips;
    std::array<PanelStandIn, kPanelCount> m_panels;
    Keyboard m_keyboard;
    FingerList m_payeeList;
};

}  // namespace shell
