// The shell tests' fixture: device root, screen, resources, seeded store and the main window.
#include "ShellFixture.h"

#include "FinanceStore.h"
#include "ResourceText.h"
#include "platform/cedb.h"
#include "platform/resources.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"

namespace shelltest {

void ShellTest::SetUp() {
    m_root.emplace();
    m_scope.emplace();
    m_module = GetModuleHandleW(nullptr);
    ASSERT_TRUE(platform::registerModuleResources(m_module, dashelResourceTable()));
    dove::setResourceModule(m_module);
    platform::takeMessageBoxes();
}

void ShellTest::TearDown() {
    close();
    platform::cedbFailNthOperation(0);
    m_scope.reset();
    platform::cedbCloseStore();
    m_root.reset();
}

void ShellTest::useScreen(int width, int height, int dpi) {
    m_scope.reset();
    m_scope.emplace(width, height, dpi);
}

void ShellTest::seedAccounts(const std::vector<AccountSeed>& accounts) {
    ASSERT_TRUE(dove::openFinanceStore());
    dove::TableCursor& table = dove::tableCursor(dove::Table::Accounts);
    for (const AccountSeed& seed : accounts) {
        ASSERT_NE(
            table.addRecord(
                {dove::PropertyValue::i4(104, seed.number), dove::PropertyValue::i4(160, seed.number),
                 dove::PropertyValue::string(110, seed.name), dove::PropertyValue::string(301, seed.currency),
                 dove::PropertyValue::string(135, seed.key)}),
            0u);
    }
    dove::closeFinanceStore();
}

void ShellTest::open() {
    m_window = std::make_unique<shell::MainWindow>(m_module);
    ASSERT_TRUE(m_window->create());
    platform::testing::pumpMessages();
}

void ShellTest::close() {
    m_window.reset();
    platform::testing::pumpMessages();
}

RECT ShellTest::screenRect(HWND window) {
    RECT rect{0, 0, 0, 0};
    if (window != nullptr) GetWindowRect(window, &rect);
    return rect;
}

POINT ShellTest::screenCentre(HWND window, const RECT& clientRect) {
    POINT point{(clientRect.left + clientRect.right) / 2, (clientRect.top + clientRect.bottom) / 2};
    ClientToScreen(window, &point);
    return point;
}

void ShellTest::tapAt(POINT point) {
    platform::testing::tap(point.x, point.y);
    platform::testing::pumpMessages();
}

void ShellTest::tapStripButton(shell::Strip strip, int index) {
    shell::ButtonStrip& buttons = m_window->strip(strip);
    tapAt(screenCentre(buttons.window(), buttons.buttonRect(index)));
}

void ShellTest::tapField(int index) {
    shell::FieldPanel& fields = m_window->fieldPanel();
    tapAt(screenCentre(fields.window(), fields.fieldRect(index)));
}

}  // namespace shelltest
