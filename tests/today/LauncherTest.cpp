// Starting the programs: Dashel found by class and title or started from its install path (nothing
// when the path is missing), Brimwell's window sent the Today set-up or its starter given a command
// line, and one item shown through the starter.
#include "ItemFixture.h"
#include "Launcher.h"
#include "TodayNames.h"
#include "platform/windows.h"

namespace todaytest {
namespace {

using namespace today;

constexpr const WCHAR* kWatcherClass = u"TestLaunchWatcher";

std::vector<std::pair<UINT, WPARAM>> g_received;

LRESULT CALLBACK watcherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER) g_received.emplace_back(message, wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

class LauncherTest : public ItemTest {
  protected:
    void SetUp() override {
        ItemTest::SetUp();
        g_received.clear();
    }
    void TearDown() override {
        for (const WCHAR* name : m_classes)
            if (HWND window = FindWindowW(name, nullptr)) DestroyWindow(window);
        for (const WCHAR* name : m_classes)
            UnregisterClassW(name, GetModuleHandleW(nullptr));
        ItemTest::TearDown();
    }
    // A top-level window of the class (registered for the test) with the title.
    HWND openWindow(const WCHAR* className, const WCHAR* title) {
        WNDCLASSW cls{};
        cls.lpfnWndProc = watcherProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = className;
        if (RegisterClassW(&cls)) m_classes.push_back(className);
        return CreateWindowExW(0, className, title, WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                               cls.hInstance, nullptr);
    }
    std::vector<const WCHAR*> m_classes;
};

TEST_F(LauncherTest, AMissingDashelLocationMakesTheLaunchDoNothing) {
    EXPECT_EQ(installPath(kInstallPathDashel), std::nullopt);
    EXPECT_EQ(startDashel(), DashelLaunch::NotInstalled);
    setInstallPath(kInstallPathDashel, u"");
    EXPECT_EQ(startDashel(), DashelLaunch::NotInstalled) << "an empty location is no location";
    setInstallPath(kInstallPathDashel, u"\\windows\\nowhere.exe");
    EXPECT_EQ(startDashel(), DashelLaunch::StartFailed);
}

TEST_F(LauncherTest, ARunningDashelIsBroughtForwardInsteadOfStartedAgain) {
    const std::string marker = m_root->path() + "/started.txt";
    setInstallPath(kInstallPathDashel, installScript("dashel", "echo started >> '" + marker + "'\n"));
    openWindow(kDashelClass, u"Another title");
    HWND dashel = openWindow(kDashelClass, kDashelTitle);
    HWND other = openWindow(u"TestSomethingElse", u"Other");
    ASSERT_EQ(GetForegroundWindow(), other);
    EXPECT_EQ(startDashel(), DashelLaunch::BroughtForward);
    EXPECT_EQ(GetForegroundWindow(), dashel);
    DestroyWindow(dashel);
    EXPECT_EQ(startDashel(), DashelLaunch::Started)
        << "a window of the class with another title is not Dashel";
    EXPECT_TRUE(waitForText(marker, "started"));
}

TEST_F(LauncherTest, DashelIsStartedFromItsDevicePathWithoutACommandLine) {
    const std::string arguments = m_root->path() + "/arguments.txt";
    setInstallPath(kInstallPathDashel,
                   installScript("dashel", "echo \"$# [$*]\" > '" + arguments + ".new' && mv '" + arguments +
                                               ".new' '" + arguments + "'\n") +
                       u".exe");
    EXPECT_EQ(startDashel(), DashelLaunch::Started);
    ASSERT_TRUE(waitForText(arguments, "\n"));
    EXPECT_EQ(readText(arguments), "0 []\n");
}

TEST_F(LauncherTest, ShowingAnItemStartsTheStarterWithItsCommandLine) {
    const struct {
        ShowKind kind;
        int64_t identifier;
        const char16_t* command;
    } cases[] = {
        {ShowKind::Account, 42, u"/show_account_42"},
        {ShowKind::AccountGroup, 1003, u"/show_accountgroup_1003"},
        {ShowKind::Budget, 7, u"/show_budget_7"},
        {ShowKind::Scheduled, 12345678901, u"/show_future_12345678901"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(showCommand(c.kind, c.identifier), c.command);
    EXPECT_FALSE(showInBrimwell(ShowKind::Account, 42)) << "no starter installed";
    installStarter();
    // A running Brimwell is not looked for: the starter always gets the line.
    openWindow(kBrimwellClass, u"Brimwell");
    EXPECT_TRUE(showInBrimwell(ShowKind::Account, 42));
    EXPECT_TRUE(waitForText(starterLog(), "starter /show_account_42\n"));
    EXPECT_TRUE(g_received.empty());
}

TEST_F(LauncherTest, ARunningBrimwellIsBroughtForwardAndToldToShowTheTodaySetUp) {
    installStarter();
    HWND brimwell = openWindow(kBrimwellClass, u"any title");
    openWindow(u"TestSomethingElse", u"Other");
    EXPECT_TRUE(startBrimwell(false));
    EXPECT_EQ(GetForegroundWindow(), brimwell);
    EXPECT_TRUE(g_received.empty()) << "without the set-up nothing is sent";
    EXPECT_TRUE(startBrimwell(true));
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].first, static_cast<UINT>(WM_USER + 118));
    EXPECT_EQ(g_received[0].second, 0u);
    EXPECT_EQ(readText(starterLog()), "") << "the starter is not used while Brimwell runs";
}

TEST_F(LauncherTest, WithoutBrimwellTheStarterIsStartedWithOrWithoutTheSetUp) {
    EXPECT_FALSE(startBrimwell(true)) << "no starter location: failure";
    installStarter();
    EXPECT_TRUE(startBrimwell(true));
    ASSERT_TRUE(waitForText(starterLog(), "starter /show_today_setup\n"));
    EXPECT_TRUE(startBrimwell(false));
    EXPECT_TRUE(waitForText(starterLog(), "starter /show_today_setup\nstarter\n"));
}

}  // namespace
}  // namespace todaytest
