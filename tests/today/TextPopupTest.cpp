// The pop-up text window: its geometry as numbers (button row, scrolling, placement, work area) and
// the window itself: its size and place on the screen, the scroll bar of a long text, the stylus on
// the buttons, outside the window and on the scroll bar, and the keys.
#include <gtest/gtest.h>

#include <optional>

#include "ModalSteps.h"
#include "PopupText.h"
#include "TextPopup.h"
#include "UserTesting.h"
#include "platform/windows.h"

namespace todaytest {
namespace {

using today::TextPopup;

TEST(PopupGeometryTest, ButtonsShareTheWidestWidthAndShrinkEquallyToFit) {
    const std::vector<SIZE> three{{60, 20}, {90, 24}, {70, 22}};
    today::ButtonRow row = today::layoutButtonRow(three, 400, 5, 5);
    EXPECT_EQ(row.buttonWidth, 90);
    EXPECT_EQ(row.buttonHeight, 24);
    EXPECT_EQ(row.width, 3 * 90 + 4 * 5);
    EXPECT_EQ(row.height, 24 + 2 * 5);
    // Three captions wider together than a 220-pixel screen: equal, reduced widths.
    row = today::layoutButtonRow({{150, 20}, {150, 20}, {160, 20}}, 220, 5, 5);
    EXPECT_EQ(row.buttonWidth, (220 - 4 * 5) / 3);
    EXPECT_LE(row.width, 220);
    EXPECT_EQ(today::layoutButtonRow({{500, 20}}, 3, 5, 5).buttonWidth, 1) << "never below a pixel";
    EXPECT_EQ(today::layoutButtonRow({}, 200, 5, 5).height, 0);
}

TEST(PopupGeometryTest, TextTallerThanItsRoomScrollsByWholeLines) {
    const int lineHeight = 15;
    today::TextScroll scroll = today::textScroll(40, lineHeight, 12 * lineHeight + 7);
    EXPECT_TRUE(scroll.scrolls);
    EXPECT_EQ(scroll.linesPerPage, 12);
    EXPECT_EQ(scroll.range, 28);
    EXPECT_FALSE(today::textScroll(12, lineHeight, 12 * lineHeight).scrolls);
    scroll = today::textScroll(3, lineHeight, 4);
    EXPECT_EQ(scroll.linesPerPage, 1) << "at least one line";
    EXPECT_EQ(scroll.range, 2);
}

TEST(PopupGeometryTest, ThePopupGoesAboveAndLeftOfItsAnchorWithinTheWorkArea) {
    const RECT work{0, 26, 240, 268};
    const struct {
        POINT anchor;
        SIZE size;
        POINT at;
    } cases[] = {
        {{200, 200}, {100, 80}, {100, 120}},  // above and left
        {{50, 200}, {100, 80}, {0, 120}},     // not left of the work area
        {{200, 60}, {100, 80}, {100, 60}},    // no room above: below the anchor
        {{200, 200}, {100, 230}, {100, 26}},  // fits neither: at the work area's top
    };
    for (const auto& c : cases) {
        const POINT at = today::placePopup(c.anchor, c.size, work);
        EXPECT_EQ(at.x, c.at.x) << c.anchor.x << "," << c.anchor.y;
        EXPECT_EQ(at.y, c.at.y) << c.anchor.x << "," << c.anchor.y;
    }
    EXPECT_EQ(today::popupWorkArea(RECT{0, 26, 240, 320}, false).bottom, 294) << "the menu bar's 26 pixels";
    EXPECT_EQ(today::popupWorkArea(RECT{0, 26, 240, 240}, true).bottom, 240);
}

class TextPopupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_scope.emplace();
        WNDCLASSW cls{};
        cls.lpfnWndProc = DefWindowProcW;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = u"PopupTestOwner";
        RegisterClassW(&cls);
        m_owner = CreateWindowExW(0, u"PopupTestOwner", u"Owner", WS_VISIBLE, 0, 0, 240, 320, nullptr,
                                  nullptr, cls.hInstance, nullptr);
    }
    void TearDown() override {
        m_scope.reset();
        UnregisterClassW(u"PopupTestOwner", GetModuleHandleW(nullptr));
    }
    int show(const std::u16string& text, POINT anchor, std::vector<std::u16string> captions,
             std::vector<ModalSteps::Step> steps, int maxWidth = 0) {
        ModalSteps driver(std::move(steps));
        TextPopup popup(m_owner, text, anchor, captions, maxWidth);
        const int result = popup.run();
        EXPECT_TRUE(driver.allRan());
        EXPECT_EQ(driver.overruns(), 0);
        EXPECT_EQ(GetCapture(), nullptr) << "the stylus is let go";
        return result;
    }
    static RECT screenRect(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }
    static POINT centreOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    static POINT buttonCentre(HWND popup, int index) {
        RECT r = TextPopup::fromWindow(popup)->buttonRect(index);
        POINT centre = centreOf(r);
        ClientToScreen(popup, &centre);
        return centre;
    }

    std::optional<platform::testing::WindowTestScope> m_scope;
    HWND m_owner = nullptr;
};

TEST_F(TextPopupTest, FortyLinesOnAScreenThatFitsFewerScrollWithTheirBar) {
    std::u16string text;
    for (int i = 1; i <= 40; ++i)
        text += u"<b>Line</b> " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + u"\n";
    int range = -1;
    const int result = show(text, POINT{200, 300}, {u"OK"},
                            {[&](HWND popup) {
                                 TextPopup* p = TextPopup::fromWindow(popup);
                                 ASSERT_NE(p, nullptr);
                                 EXPECT_EQ(p->lineCount(), 40);
                                 ASSERT_TRUE(p->scroll().scrolls);
                                 range = p->scroll().range;
                                 EXPECT_EQ(range, 40 - p->scroll().linesPerPage);
                                 HWND view = findDescendant(popup, today::kPopupTextName);
                                 SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
                                 ASSERT_TRUE(GetScrollInfo(view, SB_VERT, &info));
                                 EXPECT_EQ(info.nMax - static_cast<int>(info.nPage) + 1, range);
                                 // The whole window stays 20 pixels inside the work area's height.
                                 const RECT r = screenRect(popup);
                                 EXPECT_LE(r.bottom - r.top, 320 - 26 - 26 - 20);
                                 EXPECT_GE(r.top, 26);
                                 // A tap low on the bar's track pages down.
                                 RECT bar = screenRect(view);
                                 bar.left = bar.right - GetSystemMetrics(SM_CXVSCROLL);
                                 const int y = bar.bottom - GetSystemMetrics(SM_CYVSCROLL) - 2;
                                 platform::testing::tap(bar.left + 2, y);
                             },
                             [&](HWND popup) {
                                 TextPopup* p = TextPopup::fromWindow(popup);
                                 EXPECT_EQ(p->firstLine(), p->scroll().linesPerPage);
                                 EXPECT_EQ(GetCapture(), popup) << "the pop-up holds the stylus again";
                                 platform::testing::pressKey(VK_DOWN);
                             },
                             [&](HWND popup) {
                                 TextPopup* p = TextPopup::fromWindow(popup);
                                 EXPECT_EQ(p->firstLine(), p->scroll().linesPerPage + 1);
                                 // Dragging the text up by five lines scrolls it by five.
                                 const POINT c = screenCentre(findDescendant(popup, today::kPopupTextName));
                                 platform::testing::stylusDown(c.x - 20, c.y);
                                 platform::testing::stylusMove(c.x - 20, c.y - 5 * 15 - 3);
                                 platform::testing::stylusUp(c.x - 20, c.y - 5 * 15 - 3);
                             },
                             [&](HWND popup) {
                                 TextPopup* p = TextPopup::fromWindow(popup);
                                 EXPECT_GT(p->firstLine(), p->scroll().linesPerPage + 1);
                                 const POINT ok = buttonCentre(popup, 0);
                                 platform::testing::tap(ok.x, ok.y);
                             }});
    EXPECT_EQ(result, 0);
    EXPECT_GT(range, 0);
}

TEST_F(TextPopupTest, ThreeCaptionsWiderThanTheScreenGetEqualReducedWidths) {
    const std::u16string wide(30, u'M');
    const int result = show(u"Pick one", POINT{120, 150}, {wide + u"1", wide + u"2", wide + u"3"},
                            {[&](HWND popup) {
                                 TextPopup* p = TextPopup::fromWindow(popup);
                                 ASSERT_EQ(p->buttonCount(), 3);
                                 const RECT a = p->buttonRect(0), b = p->buttonRect(1), c = p->buttonRect(2);
                                 EXPECT_EQ(a.right - a.left, b.right - b.left);
                                 EXPECT_EQ(b.right - b.left, c.right - c.left);
                                 EXPECT_EQ(p->buttonRow().width, 3 * (a.right - a.left) + 4 * 5);
                                 EXPECT_LE(p->buttonRow().width, 240 - 20);
                                 const RECT r = screenRect(popup);
                                 EXPECT_GE(r.left, 0);
                                 EXPECT_LE(r.right, 240);
                                 const POINT second = buttonCentre(popup, 1);
                                 platform::testing::stylusDown(second.x, second.y);
                             },
                             [&](HWND) {
                                 // Released elsewhere: no button.
                                 platform::testing::stylusUp(1, 1);
                             },
                             [&](HWND popup) {
                                 const POINT third = buttonCentre(popup, 2);
                                 platform::testing::tap(third.x, third.y);
                             }});
    EXPECT_EQ(result, 2);
}

TEST_F(TextPopupTest, AShortTextNeedsNoScrollBarAndClosesWithoutAButtonOnATapOutside) {
    const int result =
        show(u"<b>Food     -1 000.00</b><#777777><l></#>", POINT{230, 150}, {u"OK"}, {[&](HWND popup) {
                 TextPopup* p = TextPopup::fromWindow(popup);
                 EXPECT_FALSE(p->scroll().scrolls);
                 EXPECT_EQ(p->lineCount(), 2);
                 const RECT r = screenRect(popup);
                 EXPECT_EQ(r.right, 230) << "left of the anchor";
                 EXPECT_EQ(r.bottom, 150) << "above it";
                 EXPECT_EQ(
                     GetWindowLongW(findDescendant(popup, today::kPopupTextName), GWL_STYLE) & WS_VSCROLL, 0);
                 platform::testing::tap(5, 310);
             }});
    EXPECT_EQ(result, -1);
}

TEST_F(TextPopupTest, ReturnPressesTheFirstButtonAndBackClosesWithoutOne) {
    EXPECT_EQ(show(u"text", POINT{100, 100}, {u"Yes", u"No"},
                   {[](HWND) { platform::testing::pressKey(VK_RETURN); }}),
              0);
    EXPECT_EQ(
        show(u"text", POINT{100, 100}, {u"Yes", u"No"}, {[](HWND) { platform::testing::pressKey(VK_BACK); }}),
        -1);
    // A quit message ends the pop-up and is left for the caller's loop.
    EXPECT_EQ(show(u"text", POINT{100, 100}, {u"OK"}, {[](HWND) { PostQuitMessage(3); }}), -1);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
}  // namespace todaytest
