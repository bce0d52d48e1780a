// Switching the main window's pages (entry, settings) and the entry page's panels, and the commands
// of the header bar, the field panel, the strips and the settings page, routed to the panel shown.
#include "MainWindow.h"

#include "SettingsStore.h"
#include "ShellCommands.h"
#include "platform/aygshell.h"

namespace shell {
namespace {

void showWindow(HWND window, bool visible) {
    if (window != nullptr) ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
}

// The entry mode each field of the field panel opens.
struct FieldMode {
    UINT command;
    EntryMode mode;
};
constexpr FieldMode kFieldModes[] = {
    {kCmdPayee, EntryMode::Payees},        {kCmdDate, EntryMode::Date},
    {kCmdAmount, EntryMode::Calculator},   {kCmdAccount, EntryMode::Accounts},
    {kCmdCategory, EntryMode::Categories}, {kCmdProject, EntryMode::Projects}};

}  // namespace

void MainWindow::switchPage(UINT page) {
    if (page == m_page) return;
    m_previousPage = m_page != 0 ? m_page : kPageEntry;
    m_page = page;
    if (page == kPageEntry)
        showEntryPage();
    else
        showSettingsPage();
}

void MainWindow::showEntryPage() {
    m_settings.setShown(false);
    enterFullScreen();
    switchEntryMode(m_mode);
    applyKeyboardVisibility();
    layout();
}

void MainWindow::showSettingsPage() {
    // The page is built when first shown; it reads the stored vibration setting then.
    if (m_settings.window() == nullptr && !m_settings.create(m_window, m_resources)) m_settings.destroy();
    EntryMode mode = m_mode;
    switchEntryMode(EntryMode::None);
    m_mode = mode;  // returning to the entry page shows the same panel
    m_settings.setShown(true);
    SHFullScreen(m_window, SHFS_SHOWSIPBUTTON | SHFS_HIDESTARTICON);
    applyKeyboardVisibility();
    layout();
}

void MainWindow::switchEntryMode(EntryMode mode) {
    m_mode = mode;
    Panel* shown = currentPanel();
    Strip strip = shown != nullptr ? shown->strip() : kStripNone;
    for (int s = 0; s < kStripCount; ++s)
        showWindow(m_strips[s].window(), s == strip);
    for (Panel* panel : m_panels)
        if (panel != nullptr && panel != shown) panel->setShown(false);
    if (shown != nullptr) shown->setShown(true);
    rebuildAlphabetKeys();
    layout();
}

void MainWindow::rebuildAlphabetKeys() {
    Panel* shown = m_page == kPageEntry ? currentPanel() : nullptr;
    KeyLabels labels = shown != nullptr ? shown->keypadLabels() : KeyLabels{};
    m_keyboard.setLabels(kAlphabetLabelCount, labels.data());
}

void MainWindow::applyButtonAlignment() {
    bool leftHanded = leftHandedAlignment();
    for (SelectionList* list : {&m_accounts, &m_categories, &m_projects, &m_payees})
        list->setLeftHanded(leftHanded);
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
    m_feedback.pulse();
    if (m_page != kPageEntry) return;
    for (const FieldMode& field : kFieldModes) {
        if (field.command != id) continue;
        panel(field.mode).loadFrom(m_draft);
        switchEntryMode(field.mode);
    }
}

void MainWindow::onStripCommand(UINT id, HWND from) {
    m_feedback.pulse();
    if (m_page == kPageSettings && from != nullptr && from == m_settings.window()) {
        onSettingsCommand(id);
        return;
    }
    // While another page shows, the strips' commands (exit included) do nothing but the close's
    // debounce.
    if (m_page != kPageEntry) {
        if (id == kCmdClose) clickDebounce();
        return;
    }
    switch (id) {
        case kCmdSaveAndNew:
            saveAndNew();
            clickDebounce();
            break;
        case kCmdSave:
            if (saveDraft()) exitProgram();
            clickDebounce();
            break;
        case kCmdExit:
            exitProgram();
            clickDebounce();
            break;
        case kCmdOk:
            confirmChoice();
            break;
        case kCmdCreate:
            createItem();
            break;
        case kCmdClose:
            m_fields.showDraft();
            switchEntryMode(EntryMode::Form);
            break;
        default:
            break;
    }
}

void MainWindow::onSettingsCommand(UINT id) {
    if (id == kCmdOk) {
        // The page stored the settings: the keys take the new format, the lists the alignment.
        m_abc.load(m_resources);
        switchPage(m_previousPage);
        rebuildAlphabetKeys();
        applyButtonAlignment();
        layout();
    } else if (id == kCmdClose) {
        switchPage(m_previousPage);
    }
}

void MainWindow::confirmChoice() {
    if (Panel* shown = currentPanel()) shown->takeInto(m_draft);
    m_fields.showDraft();
    switchEntryMode(EntryMode::Form);
}

void MainWindow::onPanelConfirmed() {
    if (m_page != kPageEntry || m_mode == EntryMode::None) return;
    // As if OK were pressed on the panel's strip (with its pulse), and once more, without a pulse, on
    // the field panel that shows then.
    if (m_mode != EntryMode::Form) m_feedback.pulse();
    confirmChoice();
}

}  // namespace shell
