// Window scroll bars: the client area gives up their room, the bar is drawn in the non-client area,
// the stylus on arrows, track and thumb sends the documented WM_VSCROLL sequences (with repeats on
// the platform clock), and a range with nothing to scroll hides the bar.

#include "ControlsTestSupport.h"

using namespace controlstest;
using platform::testing::advanceAndPump;
using platform::testing::MessageRecorder;
using platform::testing::WindowTestScope;

namespace {

struct Scroll {
    int code;
    int position;
};

std::vector<Scroll>& scrolls() {
    static std::vector<Scroll> log;
    return log;
}

// Scrolls as programs do: moves the position by the request and sets it on the bar.
LRESULT CALLBACK scrolledProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_VSCROLL) return DefWindowProcW(window, message, wParam, lParam);
    int code = LOWORD(wParam);
    scrolls().push_back({code, static_cast<SHORT>(HIWORD(wParam))});
    int pos = GetScrollPos(window, SB_VERT);
    const int steps[] = {-1, 1, -10, 10};
    if (code <= SB_PAGEDOWN) pos += steps[code];
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) pos = static_cast<SHORT>(HIWORD(wParam));
    SetScrollPos(window, SB_VERT, pos, TRUE);
    return 0;
}

// Geometry at 96 dpi: a 100x200 window at (20, 20); the bar is x 107..120, arrows 13 long, the
// track 174 long, the thumb 17 long (page 10 of 100).
struct ScrollBarTest : ::testing::Test {
    WindowTestScope scope;
    HWND window = nullptr;

    void SetUp() override {
        WNDCLASSW cls{};
        cls.lpfnWndProc = scrolledProc;
        cls.lpszClassName = u"Scrolled";
        cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&cls);
        window = CreateWindowExW(0, u"Scrolled", u"", WS_VISIBLE | WS_VSCROLL, 20, 20, 100, 200, nullptr,
                                 nullptr, nullptr, nullptr);
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
        SetScrollInfo(window, SB_VERT, &info, TRUE);
        pumpMessages();
        scrolls().clear();
    }
    std::vector<int> codes() const {
        std::vector<int> result;
        for (const Scroll& s : scrolls())
            result.push_back(s.code);
        return result;
    }
};

TEST_F(ScrollBarTest, TheBarTakesItsRoomFromTheClientAreaAndIsDrawn) {
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 100 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(platform::testing::screenPixel(60, 100), RGB(255, 255, 255)) << "client area";
    EXPECT_EQ(platform::testing::screenPixel(107, 20), GetSysColor(COLOR_WINDOWFRAME)) << "up arrow frame";
    EXPECT_EQ(platform::testing::screenPixel(113, 150), GetSysColor(COLOR_SCROLLBAR)) << "track";
    EXPECT_EQ(platform::testing::screenPixel(113, 42), GetSysColor(COLOR_BTNFACE)) << "thumb at the top";
    SetScrollPos(window, SB_VERT, 90, TRUE);
    EXPECT_EQ(platform::testing::screenPixel(113, 42), GetSysColor(COLOR_SCROLLBAR)) << "the thumb moved";
    EXPECT_EQ(platform::testing::screenPixel(113, 200), GetSysColor(COLOR_BTNFACE)) << "thumb at the bottom";
}

TEST_F(ScrollBarTest, ArrowPressSendsLineDownRepeatsWhileHeldAndEnds) {
    MessageRecorder recorder;
    recorder.watch(window);
    recorder.ignore(WM_PAINT);
    recorder.ignore(WM_ERASEBKGND);
    recorder.ignore(WM_NCPAINT);
    platform::testing::stylusDown(113, 213);
    pumpMessages();
    EXPECT_TRUE(
        recorder.matches({{WM_NCLBUTTONDOWN, kPosted | kWParam, HTVSCROLL, 0, window},
                          {WM_VSCROLL, kSent | kWParam | kLParam, MAKEWPARAM(SB_LINEDOWN, 0), 0, window}},
                         "press on the down arrow"));
    EXPECT_EQ(GetCapture(), window);
    advanceAndPump(399);
    EXPECT_EQ(scrolls().size(), 1u) << "no repeat before the delay";
    advanceAndPump(1);
    advanceAndPump(100);
    EXPECT_EQ(codes(), (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN}));
    recorder.clear();
    platform::testing::stylusUp(113, 213);
    pumpMessages();
    EXPECT_TRUE(recorder.matches({{WM_NCLBUTTONUP, kPosted | kWParam, HTVSCROLL, 0, window},
                                  {WM_CAPTURECHANGED, kSent, 0, 0, window},
                                  {WM_VSCROLL, kSent | kWParam, MAKEWPARAM(SB_ENDSCROLL, 0), 0, window}},
                                 "release"));
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 3);
    advanceAndPump(1000);
    EXPECT_EQ(scrolls().size(), 4u) << "no repeat after the release";
}

TEST_F(ScrollBarTest, TrackPressPagesUntilTheThumbReachesTheStylus) {
    platform::testing::stylusDown(113, 150);
    for (int elapsed = 0; elapsed < 1400; elapsed += 100)
        advanceAndPump(100);
    platform::testing::stylusUp(113, 150);
    pumpMessages();
    EXPECT_EQ(codes(), (std::vector<int>{SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN,
                                         SB_PAGEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 60);
    scrolls().clear();
    platform::testing::tap(113, 25);
    pumpMessages();
    EXPECT_EQ(codes(), (std::vector<int>{SB_LINEUP, SB_ENDSCROLL}));
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksAndEndsWithThumbPosition) {
    platform::testing::stylusDown(113, 40);
    pumpMessages();
    EXPECT_TRUE(scrolls().empty()) << "taking the thumb sends nothing yet";
    platform::testing::stylusMove(113, 119);
    pumpMessages();
    ASSERT_EQ(codes(), std::vector<int>{SB_THUMBTRACK});
    int tracked = scrolls().back().position;
    EXPECT_NEAR(tracked, 45, 1) << "79 of 157 pixels of travel for 90 positions";
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(window, SB_VERT, &info));
    EXPECT_EQ(info.nTrackPos, tracked);
    platform::testing::stylusMove(113, 500);
    platform::testing::stylusUp(113, 500);
    pumpMessages();
    EXPECT_EQ(codes(), (std::vector<int>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
    EXPECT_EQ(scrolls()[1].position, 90) << "dragging past the end stops at the last position";
    EXPECT_EQ(scrolls()[2].position, 90);
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 90);
}

TEST_F(ScrollBarTest, ARangeWithNothingToScrollHidesTheBar) {
    SCROLLINFO small{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 5, 10, 0, 0};
    SetScrollInfo(window, SB_VERT, &small, TRUE);
    EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 100);
    pumpMessages();
    EXPECT_EQ(platform::testing::screenPixel(113, 150), RGB(255, 255, 255))
        << "the client area took its place";
    platform::testing::tap(113, 150);
    pumpMessages();
    EXPECT_TRUE(scrolls().empty());
    SCROLLINFO large{sizeof(SCROLLINFO), SIF_RANGE, 0, 99, 0, 0, 0};
    SetScrollInfo(window, SB_VERT, &large, TRUE);
    EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL);
    SCROLLINFO kept{sizeof(SCROLLINFO), SIF_RANGE | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    SetScrollInfo(window, SB_VERT, &kept, TRUE);
    EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL) << "kept, disabled";
    platform::testing::tap(113, 213);
    pumpMessages();
    EXPECT_TRUE(scrolls().empty()) << "a disabled bar sends nothing";
    EXPECT_TRUE(ShowScrollBar(window, SB_VERT, FALSE));
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 100);
}

}  // namespace

namespace {

TEST(HorizontalScrollBar, SitsAtTheBottomInsideTheBorderAndSendsHScroll) {
    WindowTestScope scope;
    WNDCLASSW cls{};
    cls.lpfnWndProc = DefWindowProcW;
    cls.lpszClassName = u"PlainScrolled";
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassW(&cls);
    HWND window = CreateWindowExW(0, u"PlainScrolled", u"", WS_VISIBLE | WS_BORDER | WS_HSCROLL | WS_VSCROLL,
                                  10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 49, 5, 0, 0};
    SetScrollInfo(window, SB_HORZ, &info, TRUE);
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    pumpMessages();
    int bar = GetSystemMetrics(SM_CYHSCROLL);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 200 - 2 - bar);
    EXPECT_EQ(client.bottom, 100 - 2 - bar);
    EXPECT_EQ(platform::testing::screenPixel(10 + 1 + client.right + 2, 10 + 1 + client.bottom + 2),
              GetSysColor(COLOR_BTNFACE))
        << "the corner between the bars";
    EXPECT_EQ(platform::testing::screenPixel(10, 50), GetSysColor(COLOR_WINDOWFRAME)) << "the border";
    MessageRecorder recorder;
    recorder.watch(window);
    recorder.ignore(WM_PAINT);
    recorder.ignore(WM_ERASEBKGND);
    recorder.ignore(WM_NCPAINT);
    int y = 10 + 1 + client.bottom + bar / 2;
    platform::testing::tap(10 + 1 + client.right - bar / 2, y);
    pumpMessages();
    EXPECT_TRUE(recorder.matches({{WM_NCLBUTTONDOWN, kPosted | kWParam, HTHSCROLL, 0, window},
                                  {WM_HSCROLL, kSent | kWParam, MAKEWPARAM(SB_LINERIGHT, 0), 0, window},
                                  {WM_NCLBUTTONUP, kPosted | kWParam, HTHSCROLL, 0, window},
                                  {WM_CAPTURECHANGED, kSent, 0, 0, window},
                                  {WM_HSCROLL, kSent | kWParam, MAKEWPARAM(SB_ENDSCROLL, 0), 0, window}},
                                 "tap on the right arrow"));
    EXPECT_EQ(GetScrollPos(window, SB_HORZ), 0) << "the window moves the thumb itself";
}

}  // namespace
