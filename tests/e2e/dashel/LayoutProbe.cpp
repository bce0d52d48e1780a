// The in-process geometry of the program's main window for the end-to-end tests.
#include "LayoutProbe.h"

#include <gtest/gtest.h>

#include <memory>

#include "FinanceStore.h"
#include "ResourceText.h"
#include "SettingsStore.h"
#include "ShellCommands.h"
#include "UserTesting.h"
#include "platform/cedb.h"
#include "platform/resources.h"
#include "resources/DashelResources.h"

namespace dashele2e {
namespace {

PartRect partOf(HWND window) {
    PartRect part;
    if (window == nullptr) return part;
    GetWindowRect(window, &part.rect);
    part.visible = IsWindowVisible(window) != FALSE;
    return part;
}

POINT centreOnScreen(HWND window, const RECT& client) {
    POINT point{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    ClientToScreen(window, &point);
    return point;
}

View readView(shell::MainWindow& main) {
    View view;
    view.header = partOf(main.headerBar().window());
    view.fields = partOf(main.fieldPanel().window());
    for (int s = 0; s < shell::kStripCount; ++s) {
        shell::ButtonStrip& strip = main.strip(static_cast<shell::Strip>(s));
        view.strips[s] = partOf(strip.window());
        for (int b = 0; b < strip.buttonCount() && b < 3; ++b)
            view.buttons[s][b] = centreOnScreen(strip.window(), strip.buttonRect(b));
    }
    for (int p = 0; p < shell::kEntryModeCount; ++p)
        view.panels[p] = partOf(main.panel(static_cast<shell::EntryMode>(p)).window());
    view.keyboard = partOf(main.keyboard().window());
    view.settings = partOf(main.settingsPage().window());
    view.payeeRows = partOf(main.payeeList().view().window());
    view.payeeRowHeight = main.payeeList().view().rowHeight();
    RECT title = main.headerBar().titleArea();
    view.title = centreOnScreen(main.headerBar().window(), title);
    for (int f = 0; f < 6; ++f)
        view.fieldTaps[f] = centreOnScreen(main.fieldPanel().window(), main.fieldPanel().fieldRect(f));
    HWND page = main.settingsPage().window();
    const int pageButtons[] = {IDOK, IDCANCEL};
    for (int b = 0; b < 2 && page != nullptr; ++b) {
        HWND key = GetDlgItem(page, pageButtons[b]);
        if (key == nullptr) continue;
        RECT client{}, area{};
        GetClientRect(key, &client);
        view.pageButtons[b] = centreOnScreen(key, client);
        GetWindowRect(key, &area);
        UnionRect(&view.pageButtonArea, &view.pageButtonArea, &area);
    }
    return view;
}

}  // namespace

std::string ScreenProfile::name() const {
    return std::to_string(width) + "x" + std::to_string(height) + "@" + std::to_string(dpi);
}

View probeView(const ScreenProfile& profile, UINT page, shell::EntryMode mode, int rotations,
               int buttonAlign) {
    View view;
    platform::testing::WindowTestScope scope(profile.width, profile.height, profile.dpi);
    HINSTANCE module = GetModuleHandleW(nullptr);
    EXPECT_TRUE(platform::registerModuleResources(module, dashelResourceTable()));
    dove::setResourceModule(module);
    if (buttonAlign >= 0) {
        EXPECT_TRUE(shell::writeSettingNumber(shell::kSettingButtonAlign, buttonAlign));
    }
    {
        auto main = std::make_unique<shell::MainWindow>(module);
        EXPECT_TRUE(main->create()) << "the main window cannot open on " << profile.name();
        platform::testing::pumpMessages();
        for (int r = 0; r < rotations; ++r) {
            platform::testing::rotateScreen();
            platform::testing::pumpMessages();
        }
        if (page == shell::kPageSettings) {
            main->switchPage(page);
        } else {
            main->switchEntryMode(mode);
        }
        platform::testing::pumpMessages();
        view = readView(*main);
    }
    platform::testing::pumpMessages();
    platform::cedbCloseStore();
    platform::unregisterModuleResources(module);
    return view;
}

std::vector<std::pair<std::string, RECT>> visibleParts(const View& view) {
    static const char* kPanelNames[] = {"field panel", "payees",     "accounts",  "categories",
                                        "projects",    "datepicker", "calculator"};
    static const char* kStripNames[] = {"form strip", "confirm strip", "confirm-or-create strip"};
    std::vector<std::pair<std::string, RECT>> parts;
    if (view.header.visible) parts.emplace_back("header", view.header.rect);
    for (int s = 0; s < shell::kStripCount; ++s)
        if (view.strips[s].visible) parts.emplace_back(kStripNames[s], view.strips[s].rect);
    for (int p = 0; p < shell::kEntryModeCount; ++p)
        if (view.panels[p].visible) parts.emplace_back(kPanelNames[p], view.panels[p].rect);
    if (view.keyboard.visible) parts.emplace_back("keyboard", view.keyboard.rect);
    if (view.settings.visible) parts.emplace_back("settings", view.settings.rect);
    return parts;
}

}  // namespace dashele2e
