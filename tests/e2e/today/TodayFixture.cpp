// The Today end-to-end fixture.
#include "TodayFixture.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "HomeScreen.h"
#include "ItemLayout.h"
#include "RemoteWindows.h"
#include "UserTesting.h"
#include "platform/windows.h"

namespace todaye2e {

namespace fs = std::filesystem;

std::string Profile::name() const {
    return std::to_string(width) + "x" + std::to_string(height) + "@" + std::to_string(dpi);
}

void TodayE2ETest::SetUp() {
    m_root.emplace();
    ASSERT_TRUE(dashele2e::copyDemoRoot(root())) << "financestore init --demo failed";
    ASSERT_EQ(dashele2e::runProgram(dashele2e::programPath("financestore"), {"--root", root(), "install"}, {},
                                    root() + "/install.out"),
              0)
        << dashele2e::readFile(root() + "/install.out");
}

void TodayE2ETest::TearDown() {
    // A Dashel started by a test that failed half-way must not outlive it.
    if (dashele2e::postToWindow(root(), u"VarkelDashelMainWndCls", {{WM_CLOSE, 0, 0}}, 0))
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    m_root.reset();
}

std::map<std::string, std::string> TodayE2ETest::environment(const Profile& profile,
                                                             const std::string& scriptFile) const {
    return {{"VARKEL_ROOT", root()},
            {"VARKEL_DISPLAY", "headless"},
            {"VARKEL_SCREEN", profile.name()},
            {"VARKEL_SCRIPT", scriptFile}};
}

int TodayE2ETest::runHome(const Profile& profile, const std::string& script,
                          const std::map<std::string, std::string>& extra) {
    const std::string scriptFile = root() + "/home.script";
    std::ofstream(scriptFile) << script;
    auto variables = environment(profile, scriptFile);
    for (const auto& [name, value] : extra)
        variables[name] = value;
    return dashele2e::runProgram(dashele2e::programPath("todayscreen"), {}, variables, root() + "/home.out");
}

Program TodayE2ETest::startHome(const Profile& profile) {
    return Program(dashele2e::programPath("todayscreen"), {}, environment(profile), root() + "/home.out");
}

int TodayE2ETest::closeHome(Program& home) {
    EXPECT_TRUE(dashele2e::postToWindow(root(), todayscreen::kHomeScreenClass, {{WM_CLOSE, 0, 0}}));
    return home.wait();
}

ItemGeometry TodayE2ETest::probe(const Profile& profile) {
    ItemGeometry geometry;
    platform::testing::WindowTestScope scope(profile.width, profile.height, profile.dpi);
    todayscreen::HomeScreen home;
    EXPECT_TRUE(home.create());
    platform::testing::pumpMessages();
    EXPECT_EQ(home.items().size(), 1u);
    if (home.items().empty()) return geometry;
    HWND item = home.items().front()->window();
    RECT client{};
    GetClientRect(item, &client);
    POINT origin{0, 0};
    ClientToScreen(item, &origin);
    const today::ItemLayout layout(profile.dpi, profile.dpi);
    auto onScreen = [&](RECT rect) {
        OffsetRect(&rect, origin.x, origin.y);
        return rect;
    };
    geometry.item = onScreen(client);
    geometry.setup = onScreen(layout.setupArea(client));
    geometry.text = onScreen(layout.textArea(client));
    geometry.button = onScreen(layout.launchButton(client));
    geometry.header = home.headerRect();
    POINT homeOrigin{0, 0};
    ClientToScreen(home.window(), &homeOrigin);
    OffsetRect(&geometry.header, homeOrigin.x, homeOrigin.y);
    return geometry;
}

std::optional<DWORD> TodayE2ETest::registryNumber(bool machine, const WCHAR* key, const WCHAR* name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) !=
        ERROR_SUCCESS)
        return std::nullopt;
    DWORD value = 0, type = 0, size = sizeof value;
    const LONG result =
        RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
    return value;
}

bool TodayE2ETest::registrationExists() {
    return registryNumber(true, u"Software\\Microsoft\\Today\\Items\\\"Brimwell\"", u"Type").has_value();
}

std::string snapshotFolder() {
    const char* dir = std::getenv("VARKEL_BINARY_DIR");
    const fs::path base = (dir != nullptr && *dir != '\0') ? fs::path(dir) : fs::temp_directory_path();
    const fs::path folder = base / "snapshots" / "today";
    fs::create_directories(folder);
    return folder.string();
}

bool waitForText(const std::string& path, const std::string& text, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (dashele2e::readFile(path).find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

int countNear(const Snapshot& shot, const RECT& rect, uint32_t colour) {
    int count = 0;
    auto near = [](uint32_t a, uint32_t b, int shift) {
        return std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) < 40;
    };
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            const uint32_t p = shot.at(x, y);
            count += near(p, colour, 16) && near(p, colour, 8) && near(p, colour, 0) ? 1 : 0;
        }
    return count;
}

}  // namespace todaye2e
