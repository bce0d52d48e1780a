// Switching the main window's pages (entry, settings) and the entry page's panels, and the commands
// of the header bar, the field panel, the strips and the settings page.
#include "MainWindow.h"

#include "SettingsStore.h"
#include "ShellCommands.h"
#include "platform/aygshell.h"

namespace shell {
namespace {

struct ModeView {
    int mode;
    Strip strip;
    int panel;  // the Panel shown in place of the field panel, -1 for the field panel itself
};
constexpr ModeView kModeViews[] = {
    {kModeForm, kStripForm, -1},
    {kModePayees, kStripConfirmOrCreate, kPanelPayees},
    {kModeAccounts, kStripConfirm, kPanelAccounts},
    {kModeCategories, kStripConfirmOrCreate, kPanelCategories},
    {kModeProjects, kStripConfirmOrCreate, kPanelProjects},
    {kModeDate, kStripConfirm, kPanelDate},
    {kModeCalculator, kStripConfirm, kPanelCalculator},
};

const ModeView* viewOf(int mode) {
    for (const ModeView& view : kModeViews)
        if (view.mode == mode) return &view;
    return nullptr;
}

void showWindow(HWND window, bool visible) {
    if (window != nullptr) ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
}

}  // namespace

void MainWindow::switchPage(UINT page) {
    if (page == m_page) return;
    m_previousPage = m_page != 0 ? m_page : kPageEntry;
    m_page = page;
    showWindow(m_fields.window(), false);
    showWindow(m_panels[kPanelSettings].window(), page == kPageSettings);
    if (page == kPageEntry)
        showEntryPage();
    else
        showSettingsPage();
}

void MainWindow::showEntryPage() {
    enterFullScreen();
    switchEntryMode(m_entryMode);
    applyKeyboardVisibility();
    layout();
}

void MainWindow::showSettingsPage() {
    if (!m_settingsBuilt) {
        // The stored vibration setting is read when the page is first built.
        m_vibrationOn = readSettingNumber(kSettingVibration, 0) != 0;
        SIZE form = m_fields.size();
        m_settingsBuilt = m_panels[kPanelSettings].create(m_window, RECT{0, 0, form.cx, form.cy},
                                                          u"SettingsPage", RGB(255, 255, 255)) &&
                          m_panels[kPanelSettings].addPageButtons(m_resources);
    }
    showWindow(m_panels[kPanelSettings].window(), true);
    int mode = m_entryMode;
    switchEntryMode(kModeNone);
    m_entryMode = mode;  // returning to the entry page shows the same panel
    SHFullScreen(m_window, SHFS_SHOWSIPBUTTON | SHFS_HIDESTARTICON);
    applyKeyboardVisibility();
    layout();
}

void MainWindow::switchEntryMode(int mode) {
    m_entryMode = mode;
    rebuildAlphabetKeys();
    const ModeView* view = viewOf(mode);
    showWindow(m_fields.window(), mode == kModeForm);
    for (int strip = 0; strip < kStripCount; ++strip)
        showWindow(m_strips[strip].window(), view != nullptr && view->strip == strip);
    for (int panel = kPanelPayees; panel <= kPanelCalculator; ++panel)
        showWindow(panelWindow(static_cast<Panel>(panel)), view != nullptr && view->panel == panel);
    if (mode == kModeDate) SetFocus(m_panels[kPanelDate].window());
    m_typedFilter.clear();
    layout();
}

void MainWindow::rebuildAlphabetKeys() {
    // Letter groups come from the alphabet-key formats; until they are loaded every label is empty,
    // which is also what modes 0, 5 and 6 always show.
    for (std::u16string& label : m_alphabetLabels)
        label.clear();
    m_keyboard.setLabels(kAlphabetLabelCount, m_alphabetLabels.data());
}

void MainWindow::buttonPulse() {
    if (m_vibrationOn && !m_suppressVibration) m_vibrator.pulse(kButtonPulseMs, 0, 1);
}

void MainWindow::clickDebounce() {
    Sleep(kClickDebounceMs);
    MSG message{};
    PeekMessageW(&message, nullptr, WM_MOUSEMOVE, 0x209, PM_REMOVE);
}

void MainWindow::exitProgram() {
    DestroyWindow(m_window);
}

void MainWindow::onCommand(UINT id, HWND from) {
    if (id == kCmdSettings && from == m_header.window()) {
        switchPage(kPageSettings);
    } else if (from != nullptr && from == m_fields.window()) {
        onFieldCommand(id);
    } else if (id >= kCmdSaveAndNew && id <= kCmdCreate) {
        onStripCommand(id, from);
    }
}

void MainWindow::onFieldCommand(UINT id) {
    if (id == kCmdCleared) {
        if (m_page != kPageEntry) return;
        m_draft.toggleCleared();
        InvalidateRect(m_fields.window(), nullptr, FALSE);
        return;
    }
    buttonPulse();
    if (m_page != kPageEntry) return;
    struct FieldMode {
        UINT command;
        int mode;
    };
    // The lists, the date picker and the calculator are set to the draft's values when they exist.
    static constexpr FieldMode kFieldModes[] = {
        {kCmdPayee, kModePayees},     {kCmdDate, kModeDate},           {kCmdAmount, kModeCalculator},
        {kCmdAccount, kModeAccounts}, {kCmdCategory, kModeCategories}, {kCmdProject, kModeProjects}};
    for (const FieldMode& field : kFieldModes)
        if (field.command == id) switchEntryMode(field.mode);
}

void MainWindow::onStripCommand(UINT id, HWND from) {
    bool settingsPage = m_page == kPageSettings && from == m_panels[kPanelSettings].window();
    buttonPulse();  // not while a confirmation is replayed
    if (settingsPage && (id == kCmdClose || id == kCmdOk)) {
        switchPage(m_previousPage);
        return;
    }
    if (id == kCmdExit) {
        exitProgram();
        clickDebounce();
        return;
    }
    if (m_page != kPageEntry) {
        if (id == kCmdClose) clickDebounce();
        return;
    }
    if (id == kCmdClose || id == kCmdOk) {
        // No panel offers a choice yet, so OK takes nothing into the draft.
        m_fields.showDraft();
        switchEntryMode(kModeForm);
    }
}

void MainWindow::onPanelConfirmed() {
    if (m_page != kPageEntry) return;
    const ModeView* view = viewOf(m_entryMode);
    if (view == nullptr || view->mode == kModeForm) return;
    onStripCommand(kCmdOk, m_strips[view->strip].window());
    bool suppressed = m_suppressVibration;
    m_suppressVibration = true;
    onStripCommand(kCmdOk, m_strips[kStripConfirm].window());
    m_suppressVibration = suppressed;
}

}  // namespace shell
