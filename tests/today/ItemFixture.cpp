// The Today item tests' fixture.
#include "ItemFixture.h"

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "Options.h"
#include "Registration.h"
#include "TodayLibrary.h"
#include "TodayNames.h"
#include "platform/windows.h"

namespace todaytest {

namespace {

constexpr const WCHAR* kHomeClass = u"TestTodayHome";
constexpr int kHeaderHeight = 20;

LRESULT CALLBACK homeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TODAYM_GETCOLOR) return wParam == TODAYCOLOR_TEXT ? kHomeTextColour : RGB(0, 0, 0);
    if (message == TODAYM_DRAWWATERMARK) {
        const auto* info = reinterpret_cast<const TODAYDRAWWATERMARKINFO*>(lParam);
        HBRUSH brush = CreateSolidBrush(kHomeWatermark);
        FillRect(info->hdc, &info->rc, brush);
        DeleteObject(brush);
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void ItemTest::SetUp() {
    m_root.emplace();
    m_screen.emplace();
    WNDCLASSW cls{};
    cls.lpfnWndProc = homeProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    cls.lpszClassName = kHomeClass;
    RegisterClassW(&cls);
    m_home = CreateWindowExW(0, kHomeClass, u"Home", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, nullptr, nullptr, cls.hInstance, nullptr);
    ASSERT_NE(m_home, nullptr);
    m_record = TODAYLISTITEM{};
}

void ItemTest::TearDown() {
    today::releaseLibraryItem();
    m_screen.reset();
    UnregisterClassW(kHomeClass, GetModuleHandleW(nullptr));
    m_root.reset();
}

void ItemTest::freshRoot() {
    platform::cedbCloseStore();
    m_root.reset();
    m_root.emplace();
}

HWND ItemTest::initialize() {
    m_record.hwndCustom = today::initializeItem(&m_record, m_home);
    return m_record.hwndCustom;
}

HWND ItemTest::showItem() {
    HWND window = initialize();
    if (window == nullptr) return nullptr;
    queryRefresh();
    RECT home{};
    GetClientRect(m_home, &home);
    SetWindowPos(window, nullptr, 0, kHeaderHeight, home.right, static_cast<int>(m_record.cyp), SWP_NOZORDER);
    platform::testing::pumpMessages();
    return window;
}

LRESULT ItemTest::send(UINT message, WPARAM wParam) {
    return SendMessageW(m_record.hwndCustom, message, wParam, reinterpret_cast<LPARAM>(&m_record));
}

today::TodayItem& ItemTest::item() {
    return today::libraryItem();
}

RECT ItemTest::itemOnScreen() const {
    RECT rect{};
    GetClientRect(m_record.hwndCustom, &rect);
    POINT origin{0, 0};
    ClientToScreen(m_record.hwndCustom, &origin);
    OffsetRect(&rect, origin.x, origin.y);
    return rect;
}

std::optional<DWORD> ItemTest::option(const WCHAR* name) {
    return dove::readOptionNumber(name);
}

void ItemTest::setOption(const WCHAR* name, DWORD value) {
    ASSERT_TRUE(dove::writeOptionNumber(name, value));
}

bool ItemTest::registrationExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, today::kRegistrationKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string ItemTest::itemLog() const {
    return readText(m_root->path() + "/My Documents/BrimwellLog.txt");
}

std::u16string ItemTest::installScript(const std::string& name, const std::string& body) const {
    const std::string folder = m_root->path() + "/windows";
    mkdir(folder.c_str(), 0755);
    const std::string path = folder + "/" + name;
    std::ofstream(path) << "#!/bin/sh\n" << body;
    chmod(path.c_str(), 0755);
    return u"\\windows\\" + platform::fromUtf8(name);
}

void ItemTest::setInstallPath(const WCHAR* key, const std::u16string& path) {
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                             static_cast<DWORD>((path.size() + 1) * sizeof(WCHAR))),
              ERROR_SUCCESS);
    RegCloseKey(opened);
}

void ItemTest::installStarter() const {
    const std::string tool = platform::testing::builtProgram("financestore");
    const std::string body = "exec '" + tool + "' starter --log '" + starterLog() + "' \"$@\"\n";
    setInstallPath(today::kInstallPathStarter, installScript("BrimwellStarter", body));
}

bool waitForText(const std::string& path, const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (readText(path).find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace todaytest
