// The built program's life cycle against other processes: rotation of the screen, a second start
// while one runs, the transaction-added message to the finance manager's stand-in at a save and the
// data-changed message at exit, and a store that cannot be opened.
#include <filesystem>
#include <fstream>

#include "DashelFixture.h"
#include "RemoteWindows.h"
#include "SettingsStore.h"
#include "ShellCommands.h"

namespace dashele2e {
namespace {

namespace fs = std::filesystem;
using namespace shell;

constexpr ScreenProfile kPortraitScreen{240, 320, 96};
constexpr UINT kDataChangedMessage = WM_USER + 105;

class LifecycleTest : public DashelE2ETest {
  protected:
    // Rotates once and checks the keyboard in the snapshot against the layout: at the bottom in
    // portrait, then at the side in landscape (left for alignment 0, right otherwise).
    void checkRotation(int buttonAlign) {
        const std::string portraitShot = root() + "/portrait.png", landscapeShot = root() + "/landscape.png";
        View portrait = probeView(kPortraitScreen, kPageEntry, EntryMode::Payees, 0, buttonAlign);
        View landscape = probeView(kPortraitScreen, kPageEntry, EntryMode::Payees, 1, buttonAlign);
        Script script;
        script.shot(portraitShot).line("rotate").shot(landscapeShot).line("quit");
        ASSERT_EQ(runDashel(kPortraitScreen, script.text()), 0) << output();

        const RECT& bottom = portrait.keyboard.rect;
        ASSERT_TRUE(portrait.keyboard.visible);
        EXPECT_EQ(bottom.bottom, 320);
        EXPECT_EQ(bottom.left, 0);
        const RECT& side = landscape.keyboard.rect;
        ASSERT_TRUE(landscape.keyboard.visible);
        if (buttonAlign == 0) {
            EXPECT_EQ(side.left, 0);
            EXPECT_EQ(landscape.panels[modeIndex(EntryMode::Payees)].rect.left, side.right)
                << "the form beside the keyboard";
        } else {
            EXPECT_EQ(side.right, 320);
        }
        Snapshot shot;
        ASSERT_TRUE(shot.load(portraitShot));
        EXPECT_TRUE(showsKeypad(shot, bottom));
        ASSERT_TRUE(shot.load(landscapeShot));
        ASSERT_EQ(shot.width, 320);
        ASSERT_EQ(shot.height, 240);
        EXPECT_TRUE(showsKeypad(shot, side));
        EXPECT_GT(
            shareOf(shot, inset(landscape.panels[modeIndex(EntryMode::Payees)].rect, 2), kFingerListColour),
            0.6);
    }
};

TEST_F(LifecycleTest, RotationMovesTheKeyboardToTheRightSide) {
    checkRotation(-1);
}

TEST_F(LifecycleTest, RotationMovesTheKeyboardToTheLeftSideForLeftHands) {
    checkRotation(0);
}

TEST_F(LifecycleTest, ASquareScreenHidesTheKeyboard) {
    const ScreenProfile square{240, 240, 96};
    View view = probeView(square, kPageEntry, EntryMode::Payees);
    EXPECT_FALSE(view.keyboard.visible);
    ASSERT_EQ(runDashel(square, Script().shot(root() + "/square.png").line("quit").text()), 0) << output();
    Snapshot shot;
    ASSERT_TRUE(shot.load(root() + "/square.png"));
    EXPECT_LT(shot.share(0, 0, shot.width, shot.height, kKeyboardColour), 0.01);
    EXPECT_TRUE(view.strips[kStripConfirmOrCreate].visible);
    EXPECT_LE(view.strips[kStripConfirmOrCreate].rect.bottom, 240);
}

class ManagerTest : public ManagerE2ETest {};

TEST_F(ManagerTest, ExitWithoutAChangeTellsTheManagerNothing) {
    ASSERT_EQ(runDashel(kPortraitScreen, "wait 500\nquit\n"), 0) << output();
    std::string log = stopManager();
    EXPECT_EQ(countLines(log, "message 1129 "), 0) << log;
    EXPECT_EQ(countLines(log, "message 16 "), 1) << "the WM_CLOSE that ended it: " << log;
}

TEST_F(ManagerTest, ASaveTellsOfTheTransactionAndTheExitOfTheChangeOnce) {
    // "Записать" on the field panel saves the new entry and closes the program.
    ASSERT_EQ(runDashel(kPortraitScreen, "wait 300\ntap-text Закрыть\ntap-text Записать\n"), 0) << output();
    std::string log = stopManager();
    EXPECT_EQ(countLines(log, "message 1141 wParam 0 lParam 0\n"), 1) << "the transaction added: " << log;
    EXPECT_EQ(countLines(log, "message 1129 wParam 0 lParam 0\n"), 1) << log;
    EXPECT_EQ(countLines(log, "message 1129 "), 1) << log;
    EXPECT_EQ(kDataChangedMessage, 1129u);
}

TEST_F(ManagerTest, ASecondStartExitsWithOneAndLeavesTheFirstAlone) {
    // The first run's one piece of state visible from outside: a saved entry ("Закрыть" to the field
    // panel, then "Зап. & Новый", as their strips send them), which the manager hears of at once and,
    // as a change, once more when the first run ends.
    Program first(programPath("dashel"), {}, dashelEnvironment(kPortraitScreen), root() + "/first.out");
    ASSERT_TRUE(
        postToWindow(root(), kMainWindowClass, {{WM_COMMAND, kCmdClose, 0}, {WM_COMMAND, kCmdSaveAndNew, 0}}))
        << first.output();
    // The second would take a snapshot once its window ran; it must end before.
    ASSERT_EQ(runDashel(kPortraitScreen, Script().shot(root() + "/second.png").line("quit").text()), 1)
        << output();
    EXPECT_FALSE(fs::exists(root() + "/second.png"));
    EXPECT_TRUE(first.running()) << first.output();
    ASSERT_TRUE(postToWindow(root(), kMainWindowClass, {{WM_CLOSE, 0, 0}}));
    EXPECT_EQ(first.wait(), 0) << first.output();
    std::string log = stopManager();
    EXPECT_EQ(countLines(log, "message 1141 "), 1) << "the first run's save: " << log;
    EXPECT_EQ(countLines(log, "message 1129 "), 1) << "the first run's change, told once at its end: " << log;
    EXPECT_EQ(runProgram(programPath("financestore"), {"--root", root(), "check"}, {}, root() + "/check.out"),
              0)
        << readFile(root() + "/check.out");
}

TEST_F(LifecycleTest, AStoreThatCannotBeOpenedShowsMessage21AndExitsWithZero) {
    const std::string store = root() + "/store.cedb";
    fs::remove(root() + "/store.cedb-changes");
    {
        std::ofstream out(store, std::ios::binary | std::ios::trunc);
        for (int i = 0; i < 4096; ++i)
            out.put(static_cast<char>((i * 131 + 7) & 0xFF));
    }
    const std::string before = readFile(store);
    const std::string shotFile = root() + "/message.png";
    ASSERT_EQ(runDashel(kPortraitScreen, Script().shot(shotFile).line("answer OK").line("quit").text()), 0)
        << output();
    EXPECT_EQ(readFile(store), before) << "the unreadable store is left as it was";
    Snapshot shot;
    ASSERT_TRUE(shot.load(shotFile)) << "the message box was showing when the script ran: " << output();
    // The box stands in the middle of a screen without the program's window: no header title, no
    // keyboard stand-in, and the box's face is not the white of the main window.
    EXPECT_LT(shot.share(0, 0, shot.width, shot.height, kKeyboardColour), 0.01);
    EXPECT_LT(shareOf(shot, RECT{40, 140, 200, 180}, kWhite), 0.5);
    EXPECT_EQ(countOf(shot, RECT{0, 0, 240, 26}, kTitleColour), 0) << "no header bar";
}

}  // namespace
}  // namespace dashele2e
