// The built home screen with the installed item on the demo store: what it shows on every screen
// profile (snapshots kept for review), the install, loading the item again in one process, and the
// start-up guard left by an earlier start.
#include <filesystem>

#include "RemoteWindows.h"
#include "TodayFixture.h"
#include "platform/todaycmn.h"
#include "platform/windows.h"

namespace todaye2e {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kSelection = 0x000080;
constexpr uint32_t kIconGreen = 0x1A804A;   // the item icon's face, RGB(26,128,74) at its top
constexpr uint32_t kButtonBlue = 0x3A70C4;  // the launch button's face, RGB(58,112,196) at its top
constexpr uint32_t kText = 0x000000;

RECT shrunk(const RECT& r, int n) {
    return RECT{r.left + n, r.top + n, r.right - n, r.bottom - n};
}

TEST_F(TodayE2ETest, TheInstallPlacesTheProgramsAndRegistersTheItem) {
    for (const char* file : {"dashel", "BrimwellStarter", "BrimwellTodayItem.dll"})
        EXPECT_TRUE(fs::is_regular_file(fs::path(root()) / "windows" / file)) << file;
    EXPECT_TRUE(registrationExists());
    EXPECT_EQ(registryNumber(true, u"Software\\Microsoft\\Today\\Items\\\"Brimwell\"", u"Selectability"), 2u);
    // Installing again over the installed files works the same.
    EXPECT_EQ(dashele2e::runProgram(dashele2e::programPath("financestore"), {"--root", root(), "install"}, {},
                                    root() + "/install.out"),
              0)
        << dashele2e::readFile(root() + "/install.out");
}

TEST_F(TodayE2ETest, TheHomeScreenShowsTheItemOnEveryProfile) {
    const std::string folder = snapshotFolder();
    for (const Profile& profile : kProfiles) {
        SCOPED_TRACE(profile.name());
        const ItemGeometry at = probe(profile);
        const std::string shown = folder + "/" + profile.name() + "-home.png";
        const std::string selected = folder + "/" + profile.name() + "-text-selected.png";
        ASSERT_EQ(runHome(profile, "wait 2500\nshot " + shown + "\nkey DOWN\nkey RIGHT\nwait 100\nshot " +
                                       selected + "\nquit\n"),
                  0)
            << homeOutput();
        EXPECT_NE(homeOutput().find("item \"Brimwell\" loaded from \\windows\\BrimwellTodayItem.dll"),
                  std::string::npos);
        Snapshot shot;
        ASSERT_TRUE(shot.load(shown));
        ASSERT_EQ(shot.width, profile.width);
        EXPECT_GT(countNear(shot, at.header, kText), 20) << "the date line";
        const int unit = profile.dpi / 96;
        const RECT icon{at.item.left + 2 * unit, at.item.top + 2 * unit, at.item.left + 16 * unit,
                        at.item.top + 16 * unit};
        EXPECT_GT(countNear(shot, icon, kIconGreen), 20 * unit * unit) << "the item icon";
        EXPECT_GT(countNear(shot, shrunk(at.button, 4 * unit), kButtonBlue), 40 * unit * unit)
            << "the launch button";
        EXPECT_GT(countNear(shot, at.text, kText), 40 * unit) << "two lines of text";
        EXPECT_EQ(countNear(shot, at.text, kSelection), 0);
        ASSERT_TRUE(shot.load(selected));
        EXPECT_GT(shot.share(at.text.left, at.text.top, at.text.right, at.text.bottom, kSelection), 0.5)
            << "down selects the item, right its text";
    }
}

TEST_F(TodayE2ETest, TheHomeScreenLoadsItsItemsAgainInOneProcess) {
    Program home = startHome(kProfiles[0]);
    ASSERT_TRUE(waitForText(root() + "/home.out", "loaded from")) << homeOutput();
    ASSERT_TRUE(waitForText(root() + "/My Documents/BrimwellLog.txt", "Load: 1"));
    ASSERT_TRUE(dashele2e::postToWindow(root(), u"VarkelTodayScreen",
                                        {{WM_SETTINGCHANGE, TODAY_SETTINGCHANGE_ITEMS, 0}}));
    ASSERT_TRUE(waitForText(root() + "/home.out",
                            "loaded from \\windows\\BrimwellTodayItem.dll\ntodayscreen: item "
                            "\"Brimwell\" loaded from"))
        << homeOutput();
    EXPECT_EQ(closeHome(home), 0) << homeOutput();
    EXPECT_EQ(homeOutput().find("still points into the unloaded library"), std::string::npos) << homeOutput();
    EXPECT_EQ(itemLog().rfind("Load: 1\r\n", 0), 0u) << "the second library's log starts anew: " << itemLog();
}

TEST_F(TodayE2ETest, AGuardLeftByAnEarlierStartRemovesTheItem) {
    HKEY options = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Varkel\\Brimwell\\Options", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &options, nullptr),
              ERROR_SUCCESS);
    const DWORD one = 1;
    ASSERT_EQ(RegSetValueExW(options, u"TodayFailed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                             sizeof one),
              ERROR_SUCCESS);
    RegCloseKey(options);
    const std::string shown = snapshotFolder() + "/240x320@96-item-removed.png";
    ASSERT_EQ(runHome(kProfiles[0], "wait 2500\nshot " + shown + "\nquit\n"), 0) << homeOutput();
    EXPECT_NE(homeOutput().find("item \"Brimwell\" is not shown: it gave no window"), std::string::npos)
        << homeOutput();
    EXPECT_EQ(registryNumber(false, u"Software\\Varkel\\Brimwell\\Options", u"TodayFailed"), 0u);
    EXPECT_FALSE(registrationExists());
    ASSERT_EQ(runHome(kProfiles[0], "quit\n"), 0);
    EXPECT_EQ(homeOutput().find("Brimwell"), std::string::npos) << "no longer registered: " << homeOutput();
}

}  // namespace
}  // namespace todaye2e
