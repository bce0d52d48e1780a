// The main window's creation sequence (store, notification block, window, controls), its window
// procedure and the exit sequence.
#include "MainWindow.h"

#include <cstdlib>
#include <cstring>

#include "FinanceStore.h"
#include "NotificationBlock.h"
#include "Payees.h"
#include "RegionalSettings.h"
#include "ScreenMetrics.h"
#include "ShellCommands.h"
#include "platform/aygshell.h"
#include "platform/device.h"

namespace shell {
namespace {

bool g_testHooks = false;

bool environmentFlag(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && std::strcmp(value, "1") == 0;
}

struct StandInSpec {
    Panel panel;
    const WCHAR* name;
    COLORREF colour;
};
// The entry page's stand-in panels in their order of creation (the keyboard comes after the
// calculator, the payee list last); the settings page comes on first use.
constexpr StandInSpec kEntryPanels[] = {{kPanelDate, u"DatePicker", RGB(170, 188, 223)},
                                        {kPanelCalculator, u"Calculator", RGB(0, 0, 0)},
                                        {kPanelAccounts, u"AccountList", RGB(255, 255, 255)},
                                        {kPanelCategories, u"CategoryList", RGB(255, 255, 255)},
                                        {kPanelProjects, u"ProjectList", RGB(255, 255, 255)}};
constexpr UINT kStringPayeeTitle = 2;

}  // namespace

void MainWindow::setTestHooksEnabled(bool enabled) {
    g_testHooks = enabled;
}

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
        dove::closeFinanceStore();
        WCHAR text[256] = {};
        LoadStringW(m_resources, kStringStoreMissing, text, 256);
        MessageBoxW(nullptr, text, kMessageCaption, MB_OK);
        return false;
    }
    m_storeOpened = true;
    m_blockInUse = dove::createNotificationBlock();
    if (environmentFlag("DASHEL_TEST_HOOKS")) g_testHooks = true;
    if (g_testHooks && environmentFlag("DASHEL_TEST_DATA_CHANGED")) m_dataChanged = true;
    initScreenMetrics();
    if (!createWindow()) return false;
    m_draft.start(m_window);
    if (!createControls()) return false;
    m_orientation = computeOrientation();
    m_entryMode = kModePayees;
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
    for (const StandInSpec& spec : kEntryPanels) {
        if (!m_panels[spec.panel].create(m_window, RECT{0, 0, form.cx, form.cy}, spec.name, spec.colour))
            return false;
        if (spec.panel != kPanelCalculator) continue;
        int layout = m_orientation == kPortrait ? Keyboard::kPortrait : Keyboard::kLandscape;
        if (!m_keyboard.create(m_window, 0, 0, layout, m_resources)) return false;
        m_keyboard.setKeyFeedback([this] { buttonPulse(); });
    }
    return createPayeeList();
}

bool MainWindow::createPayeeList() {
    if (!m_payeeList.create(m_window, 0, 0)) return false;
    ShowWindow(m_payeeList.window(), SW_HIDE);
    std::vector<ListItem> payees;
    dove::Payee payee;
    for (int index = 0; dove::readPayee(index, payee); ++index) {
        ListItem item;
        item.text = payee.name;
        item.id = static_cast<uint32_t>(payee.number);
        payees.push_back(std::move(item));
    }
    WCHAR title[64] = {};
    LoadStringW(m_resources, kStringPayeeTitle, title, 64);
    std::u16string caption =
        std::u16string(title) + u" (" + platform::fromUtf8(std::to_string(payees.size())) + u") ";
    m_payeeList.setItems(std::move(payees));
    m_payeeList.setCaption(caption.c_str());
    return true;
}

HWND MainWindow::panelWindow(Panel which) const {
    if (which == kPanelKeyboard) return m_keyboard.window();
    if (which == kPanelPayees) return m_payeeList.window();
    return m_panels[which].window();
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
        case kMsgDataChanged:
            ++m_listReloadGeneration;
            return 0;
        case kMsgTestMarkChanged:
            if (!g_testHooks) break;
            m_dataChanged = true;
            return 0;
        default:
            break;
    }
    return WindowObject::windowProc(window, message, wParam, lParam);
}

}  // namespace shell
