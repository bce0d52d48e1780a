// The home screen hosting the built item library in the test's own process: loading, unloading and
// loading the library again with nothing left pointing into unloaded code, the registered items it
// takes, the refresh timer, the keys, the watermark, rotation, and a start-up that died inside the
// item.
#include <dlfcn.h>
#include <unistd.h>

#include "HomeFixture.h"
#include "platform/windows.h"

namespace hometest {
namespace {

using namespace todayscreen;

constexpr COLORREF kSelection = RGB(0, 0, 128);
constexpr const WCHAR* kItemClass = u"Brimwell_TodayClass";

// A string of the item's own resource table (the "nothing selected" summary text).
constexpr UINT kItemString = 46;
constexpr const char16_t* kItemStringText = u"Нет выбранных финансовых данных";

std::u16string loadString(HINSTANCE module, UINT id) {
    const WCHAR* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::u16string(text, static_cast<size_t>(length)) : std::u16string();
}

void writeItem(const WCHAR* name, const WCHAR* library, DWORD type, DWORD enabled, DWORD order) {
    const std::u16string key = std::u16string(TODAY_ITEMS_KEY) + u"\\" + name;
    HKEY opened = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr),
        ERROR_SUCCESS);
    const std::u16string path = library;
    RegSetValueExW(opened, u"DLL", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(WCHAR)));
    for (const auto& [value, number] :
         {std::pair{u"Type", type}, std::pair{u"Enabled", enabled}, std::pair{u"Order", order}})
        RegSetValueExW(opened, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(opened);
}

TEST_F(HomeTest, TheLibraryLoadsUnloadsAndLoadsAgainWithNothingLeftInUnloadedCode) {
    openHome();
    ASSERT_EQ(m_home->items().size(), 1u) << (m_reports.empty() ? "" : m_reports.back());
    HINSTANCE first = m_home->items().front()->record().hinstDLL;
    ASSERT_NE(first, nullptr);
    WNDCLASSW cls{};
    ASSERT_TRUE(GetClassInfoW(nullptr, kItemClass, &cls));
    EXPECT_EQ(cls.hInstance, first) << "the item's class belongs to its library";
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(cls.lpfnWndProc), &info), 0);
    EXPECT_EQ(info.dli_fbase, first) << "and its procedure lies in it";
    EXPECT_EQ(loadString(first, kItemString), kItemStringText) << "the library's strings are its own";
    EXPECT_EQ(loadString(GetModuleHandleW(nullptr), kItemString), u"") << "not the home screen's";
    EXPECT_EQ(itemLog(), "Load: 1\r\n");

    m_home->unloadItems();
    EXPECT_FALSE(GetClassInfoW(nullptr, kItemClass, &cls)) << "the class went with the library";
    EXPECT_TRUE(classesWithoutCode().empty()) << classesWithoutCode().front();
    EXPECT_EQ(loadString(first, kItemString), u"") << "so did its resource table";

    m_home->reloadItems();
    platform::testing::pumpMessages();
    ASSERT_EQ(m_home->items().size(), 1u);
    ASSERT_TRUE(GetClassInfoW(nullptr, kItemClass, &cls));
    EXPECT_EQ(loadString(m_home->items().front()->record().hinstDLL, kItemString), kItemStringText);
    EXPECT_EQ(itemLog(), "Load: 1\r\n") << "a fresh library: its log starts anew";
    // The reloaded item answers the home screen as the first one did.
    EXPECT_GT(m_home->items().front()->record().cyp, 0u);
    platform::testing::pressKey(VK_DOWN);
    platform::testing::pumpMessages();
    EXPECT_EQ(m_home->selectedItem(), 0);
    EXPECT_EQ(itemPixel(1, itemClient().bottom - 2), kSelection);
}

TEST_F(HomeTest, ClosingOrDestroyingTheHomeScreenUnloadsItsItemsSafely) {
    openHome();
    HWND item = itemWindow();
    SendMessageW(m_home->window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(item));
    EXPECT_EQ(m_home->window(), nullptr);
    EXPECT_TRUE(m_home->items().empty());
    EXPECT_TRUE(classesWithoutCode().empty());
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "closing ends the program";
    // Destroyed from outside with the item loaded (as a thread's windows are at its end).
    m_home.reset();
    openHome();
    item = itemWindow();
    DestroyWindow(m_home->window());
    EXPECT_FALSE(IsWindow(item));
    EXPECT_TRUE(m_home->items().empty());
    EXPECT_TRUE(classesWithoutCode().empty());
    WNDCLASSW cls{};
    EXPECT_FALSE(GetClassInfoW(nullptr, kItemClass, &cls));
}

TEST_F(HomeTest, OnlyEnabledItemLibrariesAreLoadedInTheirOrder) {
    writeItem(u"\"Disabled\"", u"\\windows\\BrimwellTodayItem.dll", 4, 0, 0);
    writeItem(u"\"Built in\"", u"\\windows\\BrimwellTodayItem.dll", 2, 1, 0);
    writeItem(u"\"Missing\"", u"\\windows\\Missing.dll", 4, 1, 9);
    writeItem(u"\"No entry\"", u"coredll.dll", 4, 1, 1);
    openHome();
    ASSERT_EQ(m_reports.size(), 3u);
    EXPECT_EQ(m_reports[0], "item \"Brimwell\" loaded from \\windows\\BrimwellTodayItem.dll");
    EXPECT_EQ(m_reports[1],
              "item \"No entry\" is not shown: its library has no initialisation entry (ordinal 240)");
    EXPECT_EQ(m_reports[2].rfind("item \"Missing\" is not shown: its library cannot be loaded", 0), 0u)
        << m_reports[2];
    ASSERT_EQ(m_home->items().size(), 1u);
    RECT item{};
    GetWindowRect(itemWindow(), &item);
    POINT corner{item.left, item.top};
    ScreenToClient(m_home->window(), &corner);
    EXPECT_EQ(corner.y, m_home->headerRect().bottom) << "the first item starts below the date";
    EXPECT_EQ(item.bottom - item.top, static_cast<LONG>(m_home->items().front()->record().cyp));
}

TEST_F(HomeTest, TheRefreshTimerReloadsTheItemAfterAChange) {
    openHome();
    platform::testing::advanceAndPump(kRefreshPeriod);
    EXPECT_EQ(itemLog(), "Load: 1\r\n") << "no change, no load";
    HANDLE block =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 24, u"Brimwell_Today_Share");
    ASSERT_NE(block, nullptr);
    auto* words = static_cast<uint32_t*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, 24));
    ASSERT_NE(words, nullptr);
    words[4] = 1;  // flag 1: transactions changed
    platform::testing::advanceAndPump(kRefreshPeriod - 1);
    EXPECT_EQ(itemLog(), "Load: 1\r\n") << "not before the period";
    platform::testing::advanceAndPump(1);
    EXPECT_EQ(itemLog(), "Load: 1\r\nLoad: 2\r\n");
    EXPECT_EQ(words[4], 0u) << "the item cleared the flag";
    UnmapViewOfFile(words);
    CloseHandle(block);
}

TEST_F(HomeTest, KeysMoveTheSelectionIntoAndOutOfTheItemAndActOnIt) {
    openHome();
    const RECT client = itemClient();
    EXPECT_EQ(m_home->selectedItem(), -1);
    platform::testing::pressKey(VK_RETURN);
    platform::testing::pumpMessages();
    EXPECT_EQ(itemLog(), "Load: 1\r\n") << "nothing selected, nothing done";
    platform::testing::pressKey(VK_DOWN);
    platform::testing::pressKey(VK_RIGHT);
    platform::testing::pressKey(VK_RIGHT);
    platform::testing::pumpMessages();
    EXPECT_EQ(m_home->selectedItem(), 0);
    EXPECT_EQ(itemPixel(client.right - 1, client.top + client.bottom / 2), kSelection) << "the launch button";
    platform::testing::pressKey(VK_RETURN);
    platform::testing::pumpMessages();
    EXPECT_EQ(itemLog(), "Load: 1\r\nStart Dashel: 2\r\n") << "Dashel is not installed in this root";
    platform::testing::pressKey(VK_DOWN);
    platform::testing::pumpMessages();
    EXPECT_EQ(m_home->selectedItem(), -1) << "down leaves the item, and no item follows";
    EXPECT_NE(itemPixel(client.right - 1, client.top + client.bottom / 2), kSelection);
    platform::testing::pressKey(VK_UP);
    platform::testing::pumpMessages();
    EXPECT_EQ(m_home->selectedItem(), 0) << "up from below the list comes to the last item";
    EXPECT_EQ(itemPixel(1, client.bottom - 2), kSelection);
}

TEST_F(HomeTest, TheItemIsDrawnOverTheHomeScreensBackground) {
    openHome();
    const RECT client = itemClient();
    POINT blank{client.right - 1, client.bottom - 1};  // below the launch button
    COLORREF expected = m_home->backgroundAt(0);
    POINT inHome = blank;
    MapWindowPoints(itemWindow(), m_home->window(), &inHome, 1);
    expected = m_home->backgroundAt(inHome.y);
    EXPECT_EQ(itemPixel(blank.x, blank.y), expected);
    EXPECT_NE(m_home->backgroundAt(0), m_home->backgroundAt(300)) << "the background is a gradient";
}

TEST_F(HomeTest, TurningTheScreenLaysTheItemOutAcrossTheNewWidth) {
    openHome();
    platform::testing::rotateScreen();
    platform::testing::pumpMessages();
    RECT home{};
    GetClientRect(m_home->window(), &home);
    EXPECT_EQ(home.right, 320);
    EXPECT_EQ(itemClient().right, 320);
    // A point of the launch button's blue face, away from its white plus.
    const int buttonTop = (itemClient().bottom - 32) / 2;
    const COLORREF face = itemPixel(320 - 32 + 6, buttonTop + 6);
    EXPECT_GT(GetBValue(face), 2 * GetRValue(face)) << "the button moved to the new right edge";
}

TEST_F(HomeTest, AStartThatDiedInsideTheItemUnregistersItAtTheNextStart) {
    const int status = platform::testing::runInChild([this] {
        platform::setMessageObserver([](HWND window, UINT message, WPARAM, LPARAM, bool) {
            WCHAR name[64] = {};
            if (message == WM_CREATE && GetClassNameW(window, name, 64) > 0 &&
                std::u16string(name) == kItemClass)
                _exit(3);
        });
        openHome();
        return 0;
    });
    ASSERT_EQ(status, 3);
    EXPECT_EQ(todayFailed(), 1u);
    EXPECT_TRUE(registered());
    openHome();
    EXPECT_TRUE(m_home->items().empty());
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_EQ(m_reports[0], "item \"Brimwell\" is not shown: it gave no window");
    EXPECT_EQ(todayFailed(), 0u);
    EXPECT_FALSE(registered());
    m_home->reloadItems();
    EXPECT_EQ(m_reports.size(), 1u) << "no longer registered, no longer loaded";
}

}  // namespace
}  // namespace hometest
