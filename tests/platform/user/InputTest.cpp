// Stylus and key input: routing to the window under the stylus or the capture, client coordinates,
// capture changes, focus order, double clicks, key translation and accelerators.

#include <gtest/gtest.h>

#include "TestWindows.h"

using namespace usertest;
using platform::testing::MessageRecorder;
using platform::testing::pumpMessages;
using platform::testing::WindowTestScope;

namespace {

struct InputTest : ::testing::Test {
    WindowTestScope scope;
    HWND top = nullptr;
    HWND left = nullptr;
    HWND right = nullptr;
    HWND inner = nullptr;

    void SetUp() override {
        top = makeWindow(nullptr, 0, 0, 240, 320);
        left = makeWindow(top, 10, 10, 100, 100);
        right = makeWindow(top, 120, 10, 100, 100);
        inner = makeWindow(left, 20, 20, 30, 30);
        pumpMessages();
    }
};

TEST_F(InputTest, StylusGoesToTheDeepestWindowInClientCoordinates) {
    MessageRecorder recorder;
    platform::testing::stylusDown(35, 36);
    platform::testing::stylusMove(37, 38);
    platform::testing::stylusUp(150, 50);
    pumpMessages();
    EXPECT_TRUE(
        recorder.matches({{WM_LBUTTONDOWN, kPosted | kWParam | kLParam, MK_LBUTTON, MAKELPARAM(5, 6), inner},
                          {WM_MOUSEMOVE, kPosted | kWParam | kLParam, MK_LBUTTON, MAKELPARAM(7, 8), inner},
                          {WM_LBUTTONUP, kPosted | kWParam | kLParam, 0, MAKELPARAM(30, 40), right}},
                         "stylus without capture"));
}

TEST_F(InputTest, DisabledOrHiddenWindowsDoNotTakeTheStylus) {
    EnableWindow(inner, FALSE);
    MessageRecorder recorder;
    platform::testing::tap(35, 35);
    pumpMessages();
    EXPECT_TRUE(recorder.matches({{WM_LBUTTONDOWN, kPosted | kLParam, 0, MAKELPARAM(25, 25), left},
                                  {WM_LBUTTONUP, kPosted, 0, 0, left}},
                                 "a disabled child leaves the tap to its parent"));
    EnableWindow(top, FALSE);
    recorder.clear();
    platform::testing::tap(35, 35);
    pumpMessages();
    EXPECT_TRUE(recorder.matches({}, "a disabled top-level window swallows the tap"));
    EnableWindow(top, TRUE);
    EnableWindow(inner, TRUE);
    ShowWindow(inner, SW_HIDE);
    pumpMessages();
    recorder.clear();
    recorder.ignore(WM_PAINT);
    recorder.ignore(WM_ERASEBKGND);
    platform::testing::tap(35, 35);
    pumpMessages();
    EXPECT_TRUE(recorder.matches({{WM_LBUTTONDOWN, kPosted | kLParam, 0, MAKELPARAM(25, 25), left},
                                  {WM_LBUTTONUP, kPosted, 0, 0, left}},
                                 "tap on a hidden window's place"));
}

TEST_F(InputTest, CaptureTakesTheStylusAndChangesAreAnnounced) {
    MessageRecorder recorder;
    EXPECT_EQ(SetCapture(left), nullptr);
    EXPECT_EQ(SetCapture(right), left);
    EXPECT_TRUE(recorder.matches(
        {{WM_CAPTURECHANGED, kSent | kLParam, 0, reinterpret_cast<LPARAM>(right), left}}, "capture moving"));
    platform::testing::stylusDown(15, 15);
    platform::testing::stylusMove(300, -20);
    pumpMessages();
    EXPECT_TRUE(recorder.matches({{WM_LBUTTONDOWN, kPosted | kLParam, 0, MAKELPARAM(-105, 5), right},
                                  {WM_MOUSEMOVE, kPosted | kLParam, 0, MAKELPARAM(180, -30), right}},
                                 "stylus while captured"));
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_TRUE(recorder.matches({{WM_CAPTURECHANGED, kSent | kLParam, 0, 0, right}}, "capture released"));
    EXPECT_EQ(GetCapture(), nullptr);
    platform::testing::stylusUp(15, 15);
    pumpMessages();
    EXPECT_TRUE(
        recorder.matches({{WM_LBUTTONUP, kPosted | kLParam, 0, MAKELPARAM(5, 5), left}}, "after release"));
}

TEST_F(InputTest, FocusChangeKillsBeforeItSets) {
    SetFocus(left);
    MessageRecorder recorder;
    EXPECT_EQ(SetFocus(right), left);
    EXPECT_TRUE(recorder.matches({{WM_KILLFOCUS, kSent | kWParam, reinterpret_cast<WPARAM>(right), 0, left},
                                  {WM_SETFOCUS, kSent | kWParam, reinterpret_cast<WPARAM>(left), 0, right}},
                                 "focus moving"));
    EXPECT_EQ(GetFocus(), right);
    ShowWindow(right, SW_HIDE);
    EXPECT_EQ(GetFocus(), top) << "hiding the focus window hands the focus to its parent";
    EnableWindow(top, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(top), nullptr) << "a disabled window cannot take the focus";
}

TEST_F(InputTest, KeysGoToTheFocusWindowAndCharacterKeysTranslate) {
    SetFocus(inner);
    MessageRecorder recorder;
    platform::testing::pressKey('7');
    platform::testing::pressKey(VK_UP);
    pumpMessages();
    EXPECT_TRUE(recorder.matches({{WM_KEYDOWN, kPosted | kWParam, '7', 0, inner},
                                  {WM_CHAR, kPosted | kWParam, '7', 0, inner},
                                  {WM_KEYUP, kPosted | kWParam, '7', 0, inner},
                                  {WM_KEYDOWN, kPosted | kWParam, VK_UP, 0, inner},
                                  {WM_KEYUP, kPosted | kWParam, VK_UP, 0, inner}},
                                 "keys"));
    platform::injectKey(VK_SHIFT, true);
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    platform::testing::pressKey('A');
    pumpMessages();
    platform::injectKey(VK_SHIFT, false);
    pumpMessages();
    auto chars = recorder.messagesOf(WM_CHAR);
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
}

struct DoubleClickCase {
    bool classDoubleClicks;
    DWORD gap;
    int dx;
    UINT second;
};

TEST(DoubleClick, NeedsTheClassStyleTheTimeAndThePlace) {
    const int half = 4;  // half of SM_CXDOUBLECLK at 96 dpi
    const DoubleClickCase cases[] = {
        {true, 100, 0, WM_LBUTTONDBLCLK}, {true, 500, half, WM_LBUTTONDBLCLK},
        {true, 501, 0, WM_LBUTTONDOWN},   {true, 100, half + 1, WM_LBUTTONDOWN},
        {false, 100, 0, WM_LBUTTONDOWN},
    };
    for (const auto& c : cases) {
        WindowTestScope scope;
        registerTestClass(u"DblWnd", CS_DBLCLKS);
        LPCWSTR cls = c.classDoubleClicks ? u"DblWnd" : u"TestWnd";
        registerTestClass(u"TestWnd");
        HWND w = CreateWindowExW(0, cls, u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
        pumpMessages();
        EXPECT_EQ(GetSystemMetrics(SM_CXDOUBLECLK), half * 2);
        MessageRecorder recorder;
        recorder.ignore(WM_PAINT);
        platform::testing::tap(50, 50);
        platform::advanceClock(c.gap);
        platform::testing::tap(50 + c.dx, 50);
        platform::testing::tap(50 + c.dx, 50);
        pumpMessages();
        auto name = std::string(c.classDoubleClicks ? "CS_DBLCLKS" : "no CS_DBLCLKS") + " gap " +
                    std::to_string(c.gap) + " dx " + std::to_string(c.dx);
        // After a double click the next tap starts a new sequence; after a plain second tap the third
        // one completes a double click when the class asks for them.
        UINT third = c.second == WM_LBUTTONDBLCLK || !c.classDoubleClicks ? UINT{WM_LBUTTONDOWN}
                                                                          : UINT{WM_LBUTTONDBLCLK};
        EXPECT_TRUE(recorder.matches({{WM_LBUTTONDOWN, kPosted, 0, 0, w},
                                      {WM_LBUTTONUP, kPosted},
                                      {c.second, kPosted, 0, 0, w},
                                      {WM_LBUTTONUP, kPosted},
                                      {third, kPosted},
                                      {WM_LBUTTONUP, kPosted}},
                                     name));
    }
}

TEST_F(InputTest, AcceleratorsTurnKeysIntoCommands) {
    ACCEL entries[] = {{FVIRTKEY, VK_RETURN, 300}, {FVIRTKEY | FSHIFT, VK_RETURN, 301}, {0, 'x', 302}};
    HACCEL table = CreateAcceleratorTableW(entries, 3);
    ASSERT_TRUE(table);
    MessageRecorder recorder;
    MSG key{inner, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_EQ(TranslateAcceleratorW(top, table, &key), 1);
    platform::injectKey(VK_SHIFT, true);
    EXPECT_EQ(TranslateAcceleratorW(top, table, &key), 1);
    platform::injectKey(VK_SHIFT, false);
    MSG character{inner, WM_CHAR, 'x', 0, 0, {0, 0}};
    EXPECT_EQ(TranslateAcceleratorW(top, table, &character), 1);
    MSG other{inner, WM_KEYDOWN, VK_UP, 0, 0, {0, 0}};
    EXPECT_EQ(TranslateAcceleratorW(top, table, &other), 0);
    EXPECT_TRUE(recorder.matches({{WM_COMMAND, kSent | kWParam, MAKEWPARAM(300, 1), 0, top},
                                  {WM_COMMAND, kSent | kWParam, MAKEWPARAM(301, 1), 0, top},
                                  {WM_COMMAND, kSent | kWParam, MAKEWPARAM(302, 1), 0, top}},
                                 "accelerators"));
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_EQ(TranslateAcceleratorW(top, table, &key), 0);
}

TEST_F(InputTest, BeepAndWaitCursorAreRecorded) {
    EXPECT_EQ(platform::takeLastBeep(), -1);
    MessageBeep(MB_ICONEXCLAMATION);
    EXPECT_EQ(platform::takeLastBeep(), static_cast<int>(MB_ICONEXCLAMATION));
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_TRUE(platform::waitCursorShown());
    SetCursor(previous);
    EXPECT_FALSE(platform::waitCursorShown());
}

}  // namespace
