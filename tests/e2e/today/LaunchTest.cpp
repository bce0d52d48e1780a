// The item's hand-over to the other programs across processes: its launch button starts the
// installed Dashel in its own process (which runs its own script), a tap while Dashel runs brings it
// forward instead, the icon column starts Brimwell's starter, and a transaction saved through the
// store makes the item load its data again at its next refresh query.
#include <filesystem>
#include <fstream>

#include "RemoteWindows.h"
#include "TodayFixture.h"
#include "platform/windows.h"

namespace todaye2e {
namespace {

constexpr const WCHAR* kDashelClass = u"VarkelDashelMainWndCls";

std::string tapAt(POINT p) {
    return "tap " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
}

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(TodayE2ETest, TheLaunchButtonStartsDashelInItsOwnProcess) {
    const Profile& profile = kProfiles[0];
    const ItemGeometry at = probe(profile);
    const std::string folder = snapshotFolder();
    const std::string dashelShot = folder + "/240x320@96-dashel-launched.png";
    std::filesystem::remove(dashelShot);
    const std::string dashelScript = root() + "/dashel.script";
    const std::string dashelText = root() + "/dashel-text.jsonl";
    std::ofstream(dashelScript) << "wait 500\ndump-text " << dashelText << "\nshot " << dashelShot
                                << "\nquit\n";
    ASSERT_EQ(runHome(profile,
                      "wait 500\n" + tapAt(at.buttonCentre()) + "wait 100\nshot " + folder +
                          "/240x320@96-launch-tapped.png\nquit\n",
                      {{"VARKEL_SCRIPT_DASHEL", dashelScript}}),
              0)
        << homeOutput();
    EXPECT_NE(itemLog().find("Start Dashel: 1\r\n"), std::string::npos) << "started: " << itemLog();
    // Dashel runs on after the home screen ended, on its own script, and shows its payee list.
    ASSERT_TRUE(waitForText(dashelShot, "PNG")) << "Dashel's own snapshot";
    // Dashel's screen, not the home screen: its payee list's caption and its strip are shown.
    EXPECT_TRUE(waitForText(dashelText, "\"Получатель (")) << "Dashel's payee list";
    EXPECT_TRUE(waitForText(dashelText, "\"Закрыть\"")) << "Dashel's strip";
}

TEST_F(TodayE2ETest, ATapWhileDashelRunsBringsItForward) {
    const Profile& profile = kProfiles[0];
    const ItemGeometry at = probe(profile);
    auto dashelEnvironment = environment(profile);
    Program dashel(dashele2e::programPath("dashel"), {}, dashelEnvironment, root() + "/dashel.out");
    ASSERT_TRUE(dashele2e::waitForWindow(root(), kDashelClass)) << dashel.output();
    ASSERT_EQ(runHome(profile, "wait 500\n" + tapAt(at.buttonCentre()) + "wait 500\n" +
                                   tapAt(at.buttonCentre()) + "wait 100\nquit\n"),
              0)
        << homeOutput();
    EXPECT_EQ(countOf(itemLog(), "Start Dashel: 0\r\n"), 2) << "brought forward twice: " << itemLog();
    EXPECT_EQ(countOf(itemLog(), "Start Dashel: 1"), 0) << "never started again";
    EXPECT_TRUE(dashel.running()) << dashel.output();
    ASSERT_TRUE(dashele2e::postToWindow(root(), kDashelClass, {{WM_CLOSE, 0, 0}}));
    EXPECT_EQ(dashel.wait(), 0) << dashel.output();
}

TEST_F(TodayE2ETest, TheIconColumnStartsBrimwellsStarter) {
    const Profile& profile = kProfiles[0];
    const ItemGeometry at = probe(profile);
    const POINT setup{(at.setup.left + at.setup.right) / 2, at.setup.bottom - 3};
    ASSERT_EQ(runHome(profile, "wait 500\n" + tapAt(setup) + "wait 100\nquit\n"), 0) << homeOutput();
    EXPECT_NE(itemLog().find("Start Brimwell: 1\r\n"), std::string::npos) << itemLog();
    EXPECT_TRUE(waitForText(root() + "/starter.log", "starter\n"));
}

TEST_F(TodayE2ETest, ASavedTransactionMakesTheItemReloadAtItsNextRefresh) {
    Program home = startHome(kProfiles[0]);
    ASSERT_TRUE(waitForText(root() + "/My Documents/BrimwellLog.txt", "Load: 1\r\n")) << homeOutput();
    // The same save path as Dashel's: it raises the change flag of the notification block.
    ASSERT_EQ(dashele2e::runProgram(dashele2e::programPath("financestore"),
                                    {"--root", root(), "add", "--account", "1", "--amount", "-12.34"}, {},
                                    root() + "/add.out"),
              0)
        << dashele2e::readFile(root() + "/add.out");
    EXPECT_TRUE(waitForText(root() + "/My Documents/BrimwellLog.txt", "Load: 2\r\n")) << itemLog();
    EXPECT_EQ(closeHome(home), 0) << homeOutput();
    EXPECT_EQ(countOf(itemLog(), "Load: "), 2) << "one change, one reload: " << itemLog();
}

}  // namespace
}  // namespace todaye2e
