// The main window's creation sequence (store, notification block, window, controls), its window
// procedure and the exit sequence.
#include "MainWindow.h"

#include "FinanceStore.h"
#include "NotificationBlock.h"
#include "RegionalSettings.h"
#include "ScreenMetrics.h"
#include "ShellCommands.h"
#include "platform/aygshell.h"
#include "platform/device.h"

namespace shell {

MainWindow::MainWindow(HINSTANCE resources) : m_resources(resources) {
    dove::readRegionalSettings();
}

MainWindow::~MainWindow() {
    if (m_storeOpened) {
        dove::closeFinanceStore();
        m_storeOpened = false;
    }
    if (m_blockInUse) {
        dove::closeNotificationBlock();
        m_blockInUse = false;
    }
    if (m_dataChanged) {
        if (HWND manager = FindWindowW(kFinanceManagerClass, nullptr))
            PostMessageW(manager, kMsgDataChanged, 0, 0);
    }
    destroy();
    // The controls' objects go with the members, in the reverse order of their creation.
}

bool MainWindow::create() {
    if (!dove::openFinanceStore()) {
        // The user sees message 21 whatever the cause; the cause goes to the error log. A store that
        // is there but cannot be read is left as it is: nothing was created over it.
        dove::logFinanceStoreOpenFailure();
        dove::closeFinanceStore();
        WCHAR text[256] = {};
        LoadStringW(m_resources, kStringStoreMissing, text, 256);
        MessageBoxW(nullptr, text, kMessageCaption, MB_OK);
        return false;
    }
    m_storeOpened = true;
    m_blockInUse = dove::createNotificationBlock();
    initScreenMetrics();
    if (!createWindow()) return false;
    m_draft.start(m_window);
    m_abc.load(m_resources);
    if (!createControls()) return false;
    m_orientation = computeOrientation();
    m_mode = EntryMode::Payees;
    switchPage(kPageEntry);
    return true;
}

bool MainWindow::createWindow() {
    if (!registerClass(kMainWindowClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, nullptr,
                       static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))))
        return false;
    RECT empty{0, 0, 0, 0};
    return WindowObject::create(0, kMainWindowTitle, WS_POPUP | WS_VISIBLE, empty, nullptr, 0) != nullptr;
}

bool MainWindow::createControls() {
    if (!m_header.create(m_window, m_resources)) return false;
    if (!m_fields.create(m_window, m_resources, m_draft)) return false;
    m_fields.showDraft();
    const StripSkin* skins[kStripCount] = {&formStripSkin(), &confirmStripSkin(),
                                           &confirmOrCreateStripSkin()};
    for (int i = 0; i < kStripCount; ++i)
        if (!m_strips[i].create(m_window, m_resources, *skins[i])) return false;
    return createPanels();
}

bool MainWindow::createPanels() {
    SIZE form = m_fields.size();
    // Without a usable date picker the entry form carries on; its mode then shows nothing.
    m_datePicker.create(m_window, RECT{0, 0, form.cx, form.cy}, m_resources);
    if (!m_calculator.create(m_window, 0, 0, m_resources, [this] { m_feedback.pulse(); })) return false;
    int layout = m_orientation == kPortrait ? Keyboard::kPortrait : Keyboard::kLandscape;
    if (!m_keyboard.create(m_window, 0, 0, layout, m_resources)) return false;
    m_keyboard.setKeyFeedback([this] { m_feedback.pulse(); });
    // The payee list is filled when the window opens on it (switchPage below), once.
    for (SelectionList* list : {&m_accounts, &m_categories, &m_projects, &m_payees})
        if (!list->create(m_window, m_resources)) return false;
    applyButtonAlignment();
    m_panels = {&m_fields, &m_payees, &m_accounts, &m_categories, &m_projects, &m_datePicker, &m_calculator};
    return true;
}

SelectionList& MainWindow::list(ListKind kind) {
    switch (kind) {
        case ListKind::Accounts:
            return m_accounts;
        case ListKind::Categories:
            return m_categories;
        case ListKind::Projects:
            return m_projects;
        default:
            return m_payees;
    }
}

Panel* MainWindow::currentPanel() const {
    if (m_mode == EntryMode::None) return nullptr;
    return m_panels[static_cast<size_t>(modeIndex(m_mode))];
}

LRESULT MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) enterFullScreen();
            return WindowObject::windowProc(window, message, wParam, lParam);
        case WM_LBUTTONDOWN:
            enterFullScreen();
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(window, &ps);
            RECT client{};
            GetClientRect(window, &client);
            FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            EndPaint(window, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_SETTINGCHANGE:
            onSettingChange(wParam);
            return 0;
        case kMsgPanelConfirmed:
            onPanelConfirmed();
            return 0;
        case WM_KEYDOWN:
            // The calculator passes the device's RETURN on: it confirms as a list's own confirmation does.
            if (wParam != VK_RETURN) break;
            onPanelConfirmed();
            return 0;
        case kMsgKeyboardKey:
            if (Panel* panel = m_page == kPageEntry ? currentPanel() : nullptr) panel->keypadKey(wParam);
            return 0;
        case WM_CHAR:
            if (Panel* panel = m_page == kPageEntry ? currentPanel() : nullptr)
                panel->typedCharacter(static_cast<WCHAR>(wParam));
            return 0;
        case kMsgDataChanged:
            for (Panel* panel : m_panels)
                if (panel != nullptr) panel->discardRecords();
            return 0;
        default:
            break;
    }
    return WindowObject::windowProc(window, message, wParam, lParam);
}

}  // namespace shell
