// The home screen tests' fixture.
#include "HomeFixture.h"

#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/windows.h"

namespace hometest {

namespace fs = std::filesystem;

void HomeTest::SetUp() {
    m_root.emplace();
    m_screen.emplace();
    installItem();
}

void HomeTest::TearDown() {
    m_home.reset();
    m_screen.reset();
    m_root.reset();
}

void HomeTest::installItem() {
    const fs::path built =
        fs::path(platform::testing::builtProgram("todayscreen")).parent_path().parent_path() / "lib" /
        "libBrimwellTodayItem.so";
    const fs::path windows = fs::path(m_root->path()) / "windows";
    fs::create_directories(windows);
    std::error_code error;
    fs::copy_file(built, windows / "BrimwellTodayItem.dll", fs::copy_options::overwrite_existing, error);
    ASSERT_FALSE(error) << built << ": " << error.message();
    HMODULE library = LoadLibraryW(u"\\windows\\BrimwellTodayItem.dll");
    ASSERT_NE(library, nullptr);
    auto registerItem = reinterpret_cast<BOOL (*)()>(GetProcAddressA(library, "RegisterTodayItem"));
    ASSERT_NE(registerItem, nullptr);
    EXPECT_EQ(registerItem(), TRUE);
    EXPECT_TRUE(FreeLibrary(library));
}

void HomeTest::openHome() {
    m_home.emplace([this](const std::string& line) { m_reports.push_back(line); });
    ASSERT_TRUE(m_home->create());
    platform::testing::pumpMessages();
}

HWND HomeTest::itemWindow() const {
    EXPECT_EQ(m_home->items().size(), 1u);
    return m_home->items().empty() ? nullptr : m_home->items().front()->window();
}

RECT HomeTest::itemClient() const {
    RECT rect{};
    GetClientRect(itemWindow(), &rect);
    return rect;
}

COLORREF HomeTest::itemPixel(int x, int y) const {
    POINT point{x, y};
    ClientToScreen(itemWindow(), &point);
    return platform::testing::screenPixel(point.x, point.y);
}

std::string HomeTest::itemLog() const {
    std::ifstream in(m_root->path() + "/My Documents/BrimwellLog.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::optional<DWORD> HomeTest::todayFailed() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Varkel\\Brimwell\\Options", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return std::nullopt;
    DWORD value = 0, type = 0, size = sizeof value;
    const LONG result =
        RegQueryValueExW(key, u"TodayFailed", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return std::nullopt;
    return value;
}

bool HomeTest::registered() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\\"Brimwell\"", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::vector<std::string> classesWithoutCode() {
    std::vector<std::string> names;
    platform::forEachWindowClass([&](LPCWSTR name, WNDPROC proc, HINSTANCE) {
        Dl_info info{};
        if (dladdr(reinterpret_cast<void*>(proc), &info) == 0) names.push_back(platform::toUtf8(name));
    });
    return names;
}

}  // namespace hometest
