// Registration with the home screen and the guarded initialisation: the registration record, the
// start-up guard "TodayFailed" (also when the process dies inside the initialisation), and the item
// window's creation and reuse.
#include <unistd.h>

#include "ItemFixture.h"
#include "Registration.h"
#include "TodayLibrary.h"
#include "TodayNames.h"
#include "platform/windows.h"

namespace todaytest {
namespace {

using namespace today;

DWORD numberValue(HKEY key, const WCHAR* name, DWORD* type) {
    DWORD value = 0, size = sizeof value;
    EXPECT_EQ(RegQueryValueExW(key, name, nullptr, type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS)
        << platform::toUtf8(name);
    return value;
}

TEST_F(ItemTest, RegistrationWritesTheFiveValuesAndUnregistrationDeletesTheKey) {
    EXPECT_EQ(registerTodayItem(), TRUE);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\\"Brimwell\"", 0,
                            KEY_READ, &key),
              ERROR_SUCCESS);
    WCHAR path[MAX_PATH] = {};
    DWORD type = 0, size = sizeof path;
    ASSERT_EQ(RegQueryValueExW(key, u"DLL", nullptr, &type, reinterpret_cast<BYTE*>(path), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::u16string(path), u"\\windows\\BrimwellTodayItem.dll");
    const struct {
        const WCHAR* name;
        DWORD value;
    } numbers[] = {{u"Type", 4}, {u"Enabled", 1}, {u"Options", 0}, {u"Selectability", 2}};
    for (const auto& number : numbers) {
        EXPECT_EQ(numberValue(key, number.name, &type), number.value) << platform::toUtf8(number.name);
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    }
    RegCloseKey(key);
    EXPECT_EQ(registerTodayItem(), TRUE) << "registering again rewrites the same values";
    EXPECT_EQ(unregisterTodayItem(), TRUE);
    EXPECT_FALSE(registrationExists());
    EXPECT_EQ(unregisterTodayItem(), FALSE) << "nothing left to delete";
}

TEST_F(ItemTest, AFailedEarlierStartReturnsNoWindowResetsTheGuardAndUnregisters) {
    ASSERT_EQ(registerTodayItem(), TRUE);
    setOption(u"TodayFailed", 1);
    EXPECT_EQ(initialize(), nullptr);
    EXPECT_EQ(option(u"TodayFailed"), 0u);
    EXPECT_FALSE(registrationExists());
    WNDCLASSW cls{};
    EXPECT_FALSE(GetClassInfoW(nullptr, kItemClass, &cls)) << "no window class was registered either";
    // The next initialisation (after a new registration) starts normally.
    ASSERT_EQ(registerTodayItem(), TRUE);
    EXPECT_NE(initialize(), nullptr);
    EXPECT_TRUE(registrationExists());
}

TEST_F(ItemTest, TheGuardIsOneOnlyWhileTheWindowIsCreated) {
    std::optional<DWORD> duringCreate;
    platform::setMessageObserver([&](HWND window, UINT message, WPARAM, LPARAM, bool) {
        WCHAR name[64] = {};
        if (message == WM_CREATE && GetClassNameW(window, name, 64) > 0 && std::u16string(name) == kItemClass)
            duringCreate = option(u"TodayFailed");
    });
    HWND window = initialize();
    platform::setMessageObserver({});
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(duringCreate, 1u);
    EXPECT_EQ(option(u"TodayFailed"), 0u);
}

TEST_F(ItemTest, AProcessDyingInsideTheInitialisationLeavesTheGuardSoTheNextStartUnregisters) {
    ASSERT_EQ(registerTodayItem(), TRUE);
    const int status = platform::testing::runInChild([this] {
        platform::setMessageObserver([](HWND window, UINT message, WPARAM, LPARAM, bool) {
            WCHAR name[64] = {};
            if (message == WM_CREATE && GetClassNameW(window, name, 64) > 0 &&
                std::u16string(name) == kItemClass)
                _exit(3);
        });
        initialize();
        return 0;
    });
    ASSERT_EQ(status, 3) << "the child died inside the item's window creation";
    EXPECT_EQ(option(u"TodayFailed"), 1u);
    EXPECT_EQ(initialize(), nullptr);
    EXPECT_EQ(option(u"TodayFailed"), 0u);
    EXPECT_FALSE(registrationExists());
}

TEST_F(ItemTest, TheItemWindowIsAVisibleChildOfTheHomeScreenAndIsReused) {
    HWND window = initialize();
    ASSERT_NE(window, nullptr);
    WCHAR text[64] = {};
    ASSERT_GT(GetClassNameW(window, text, 64), 0);
    EXPECT_EQ(std::u16string(text), u"Brimwell_TodayClass");
    ASSERT_GT(GetWindowTextW(window, text, 64), 0);
    EXPECT_EQ(std::u16string(text), u"Brimwell_TodayWin");
    EXPECT_EQ(GetParent(window), m_home);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 240);
    EXPECT_EQ(rect.bottom - rect.top, 0);
    WNDCLASSW cls{};
    ASSERT_TRUE(GetClassInfoW(nullptr, kItemClass, &cls));
    EXPECT_EQ(cls.style & (CS_HREDRAW | CS_VREDRAW), static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(cls.hInstance, platform::moduleOf(reinterpret_cast<const void*>(&initializeItem)))
        << "the class belongs to the module holding the item's code";
    EXPECT_EQ(initialize(), window) << "an existing window is reused";
    // After its window is gone, the next initialisation makes a new one.
    DestroyWindow(window);
    HWND again = initialize();
    EXPECT_NE(again, nullptr);
    EXPECT_TRUE(IsWindow(again));
}

TEST_F(ItemTest, ReleasingTheItemDestroysItsWindowAndUnregistersItsClass) {
    HWND window = initialize();
    ASSERT_NE(window, nullptr);
    releaseLibraryItem();
    EXPECT_FALSE(IsWindow(window));
    WNDCLASSW cls{};
    EXPECT_FALSE(GetClassInfoW(nullptr, kItemClass, &cls));
}

}  // namespace
}  // namespace todaytest
