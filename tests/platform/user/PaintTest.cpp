// Painting on the screen framebuffer: WM_PAINT order, clipping of children and overlapped siblings,
// erasing, repainting what hiding and moving uncover, frames, and screen rotation.

#include <gtest/gtest.h>

#include "../../../platform/display/Screen.h"
#include "TestWindows.h"

using namespace usertest;
using platform::testing::MessageRecorder;
using platform::testing::pumpMessages;
using platform::testing::screenPixel;
using platform::testing::WindowTestScope;

namespace {

constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 230);
constexpr COLORREF kYellow = RGB(250, 250, 0);

struct PaintTest : ::testing::Test {
    WindowTestScope scope;
    HWND top = nullptr;
    HWND upper = nullptr;  // created first: above its later sibling
    HWND lower = nullptr;

    void SetUp() override {
        top = makeWindow(nullptr, 0, 0, 240, 320, kGreen);
        upper = makeWindow(top, 10, 10, 100, 100, kRed);
        lower = makeWindow(top, 50, 50, 100, 100, kBlue);
    }
};

TEST_F(PaintTest, ParentPaintsBeforeChildrenAndEachOnlyItsVisiblePart) {
    MessageRecorder recorder;
    recorder.ignore(WM_ERASEBKGND);
    pumpMessages();
    EXPECT_TRUE(recorder.matches(
        {{WM_PAINT, kPosted, 0, 0, top}, {WM_PAINT, kPosted, 0, 0, upper}, {WM_PAINT, kPosted, 0, 0, lower}},
        "first paint"));
    EXPECT_EQ(screenPixel(5, 5), kGreen);
    EXPECT_EQ(screenPixel(60, 60), kRed) << "the upper sibling is not painted over";
    EXPECT_EQ(screenPixel(120, 120), kBlue);
    EXPECT_EQ(screenPixel(149, 149), kBlue);
    EXPECT_EQ(screenPixel(150, 150), kGreen);
}

TEST_F(PaintTest, ParentRepaintLeavesChildrenAlone) {
    pumpMessages();
    SetWindowLongPtrW(top, GWL_USERDATA, kYellow);
    InvalidateRect(top, nullptr, TRUE);
    MessageRecorder recorder;
    recorder.ignore(WM_ERASEBKGND);
    pumpMessages();
    EXPECT_TRUE(recorder.matches({{WM_PAINT, kPosted, 0, 0, top}}, "parent invalidated"));
    EXPECT_EQ(screenPixel(5, 5), kYellow);
    EXPECT_EQ(screenPixel(20, 20), kRed);
    EXPECT_EQ(screenPixel(120, 120), kBlue);
    EXPECT_EQ(screenPixel(200, 200), kYellow);
}

TEST_F(PaintTest, HidingAndMovingRepaintWhatTheyUncover) {
    pumpMessages();
    ShowWindow(upper, SW_HIDE);
    pumpMessages();
    EXPECT_EQ(screenPixel(20, 20), kGreen);
    EXPECT_EQ(screenPixel(60, 60), kBlue) << "the lower sibling shows where the upper one was";
    MoveWindow(lower, 100, 150, 50, 50, TRUE);
    pumpMessages();
    EXPECT_EQ(screenPixel(60, 60), kGreen);
    EXPECT_EQ(screenPixel(120, 170), kBlue);
    ShowWindow(top, SW_HIDE);
    EXPECT_EQ(platform::testing::pumpMessages(), 0) << "hidden windows do not paint";
}

TEST_F(PaintTest, EraseOnlyWhenAskedAndUpdateRegionBookkeeping) {
    pumpMessages();
    MessageRecorder recorder;
    recorder.watch(upper);
    InvalidateRect(upper, nullptr, FALSE);
    pumpMessages();
    EXPECT_TRUE(recorder.matches({{WM_PAINT, kPosted}}, "invalidated without erase"));
    RECT part{5, 5, 20, 30};
    InvalidateRect(upper, &part, TRUE);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(upper, &update, FALSE));
    EXPECT_TRUE(EqualRect(&update, &part));
    UpdateWindow(upper);
    EXPECT_TRUE(recorder.matches({{WM_PAINT, kSent}, {WM_ERASEBKGND, kSent}}, "UpdateWindow with erase"));
    EXPECT_FALSE(GetUpdateRect(upper, &update, FALSE));
    InvalidateRect(upper, nullptr, TRUE);
    ValidateRect(upper, nullptr);
    EXPECT_EQ(pumpMessages(), 0);
}

TEST_F(PaintTest, DefaultProcedureErasesWithTheClassBrush) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = DefWindowProcW;
    cls.lpszClassName = u"PlainGray";
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&cls);
    pumpMessages();
    CreateWindowExW(0, u"PlainGray", u"", WS_CHILD | WS_VISIBLE, 160, 200, 40, 40, top, nullptr, nullptr,
                    nullptr);
    pumpMessages();
    EXPECT_EQ(screenPixel(170, 210), GetSysColor(COLOR_BTNFACE));
}

TEST_F(PaintTest, WindowDcDrawsOnlyOnTheVisiblePart) {
    pumpMessages();
    HDC hdc = GetDC(lower);
    HBRUSH brush = CreateSolidBrush(kYellow);
    RECT all{-50, -50, 200, 200};
    FillRect(hdc, &all, brush);
    DeleteObject(brush);
    unsigned frames = platform::testing::framesPresented();
    ReleaseDC(lower, hdc);
    pumpMessages();
    EXPECT_EQ(platform::testing::framesPresented(), frames + 1);
    EXPECT_EQ(screenPixel(60, 60), kRed);
    EXPECT_EQ(screenPixel(120, 120), kYellow);
    EXPECT_EQ(screenPixel(160, 160), kGreen);
}

TEST_F(PaintTest, PositionChangesSendMoveAndSizeOnlyWhenTheyChange) {
    pumpMessages();
    MessageRecorder recorder;
    recorder.watch(lower);
    recorder.ignore(WM_PAINT);
    recorder.ignore(WM_ERASEBKGND);
    SetWindowPos(lower, nullptr, 160, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(recorder.matches({{WM_WINDOWPOSCHANGING, kSent},
                                  {WM_WINDOWPOSCHANGED, kSent},
                                  {WM_MOVE, kSent | kLParam, 0, MAKELPARAM(160, 150)}},
                                 "move only"));
    MoveWindow(lower, 160, 150, 30, 20, TRUE);
    EXPECT_TRUE(recorder.matches({{WM_WINDOWPOSCHANGING, kSent},
                                  {WM_WINDOWPOSCHANGED, kSent},
                                  {WM_SIZE, kSent | kLParam, 0, MAKELPARAM(30, 20)}},
                                 "size only"));
    RECT r;
    GetWindowRect(lower, &r);
    EXPECT_EQ(r.left, 160);
    EXPECT_EQ(r.bottom, 170);
    POINT p{1, 2};
    ClientToScreen(lower, &p);
    EXPECT_EQ(p.x, 161);
    EXPECT_EQ(WindowFromPoint(POINT{165, 155}), lower);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{165, 155}), lower);
    MoveWindow(lower, 60, 50, 30, 20, TRUE);
    EXPECT_EQ(WindowFromPoint(POINT{65, 55}), upper) << "the upper sibling covers that point";
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{65, 55}), upper);
}

TEST_F(PaintTest, RotationTellsTopLevelWindowsOnlyAndSwapsTheScreen) {
    HWND popup = makeWindow(nullptr, 0, 0, 50, 50, kBlue, WS_VISIBLE | WS_POPUP);
    pumpMessages();
    MessageRecorder recorder;
    recorder.ignore(WM_PAINT);
    recorder.ignore(WM_ERASEBKGND);
    platform::testing::rotateScreen();
    EXPECT_TRUE(recorder.matches({{WM_SETTINGCHANGE, kSent | kWParam, 0x3002, 0, popup},
                                  {WM_SETTINGCHANGE, kSent | kWParam, 0x3002, 0, top}},
                                 "rotation"));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
    pumpMessages();
    EXPECT_EQ(screenPixel(20, 20), kBlue) << "everything is repainted on the new framebuffer";
    EXPECT_EQ(screenPixel(60, 60), kRed);
    EXPECT_EQ(screenPixel(200, 200), kGreen);
    EXPECT_EQ(screenPixel(300, 200), RGB(0, 0, 0)) << "beyond the windows the new framebuffer stays black";
}

TEST(Screen, ProfilesWorkAreaAndMetrics) {
    platform::ScreenProfile profile;
    EXPECT_TRUE(platform::parseScreenProfile("480x640@192", profile));
    EXPECT_EQ(profile.width, 480);
    EXPECT_EQ(profile.dpi, 192);
    for (const char* bad : {"", "480x640", "480x@192", "480x640@1000", "8x8@96", "480x640@192x", "-1x5@96"})
        EXPECT_FALSE(platform::parseScreenProfile(bad, profile)) << bad;
    WindowTestScope scope(480, 640, 192);
    RECT area;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area.top, 52);
    EXPECT_EQ(area.bottom, 640 - 52);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 26);
    EXPECT_EQ(GetDeviceCaps(GetDC(nullptr), LOGPIXELSX), 192);
    platform::Screen::instance().setTaskBarShown(false);
    platform::Screen::instance().setInputPanelShown(false);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.bottom, 640);
}

TEST(ScrollInfo, RangePageAndPositionAreKeptConsistent) {
    WindowTestScope scope;
    HWND w = makeWindow(nullptr, 0, 0, 10, 10, 0, WS_VSCROLL);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 200, 0};
    EXPECT_EQ(SetScrollInfo(w, SB_VERT, &info, TRUE), 90);
    EXPECT_EQ(SetScrollPos(w, SB_VERT, -5, TRUE), 90);
    EXPECT_EQ(GetScrollPos(w, SB_VERT), 0);
    SCROLLINFO read{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &read));
    EXPECT_EQ(read.nMax, 99);
    EXPECT_EQ(read.nPage, 10u);
    EXPECT_FALSE(GetScrollInfo(w, SB_CTL, &read));
}

}  // namespace

namespace {

TEST_F(PaintTest, RedrawWindowWithChildrenPaintsAtOnceAndPresentsAFrame) {
    pumpMessages();
    int frames = 0;
    int listener = platform::Screen::instance().addFrameListener([&] { ++frames; });
    MessageRecorder recorder;
    recorder.ignore(WM_ERASEBKGND);
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(recorder.matches(
        {{WM_PAINT, kSent, 0, 0, top}, {WM_PAINT, kSent, 0, 0, upper}, {WM_PAINT, kSent, 0, 0, lower}},
        "redraw with children"));
    EXPECT_EQ(frames, 0) << "the frame is presented once the queue is idle";
    EXPECT_EQ(pumpMessages(), 0);
    EXPECT_EQ(frames, 1);
    platform::Screen::instance().removeListener(listener);
}

}  // namespace

namespace {

TEST_F(PaintTest, RedrawWindowMapsItsAreaIntoEachChild) {
    pumpMessages();
    RECT area{60, 60, 70, 70};
    RedrawWindow(top, &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(upper, &update, FALSE));
    EXPECT_EQ(update.left, 50);
    EXPECT_EQ(update.bottom, 60);
    ASSERT_TRUE(GetUpdateRect(lower, &update, FALSE));
    EXPECT_EQ(update.left, 10);
    EXPECT_EQ(update.top, 10);
    RedrawWindow(top, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
    EXPECT_FALSE(GetUpdateRect(lower, &update, FALSE));
    EXPECT_EQ(pumpMessages(), 0);
}

}  // namespace
